#include "support/ChildProcess.h"

#include "support/TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kvtest
{

namespace
{

constexpr const char* kChildMark = "KV_TEST_CHILD=1";

bool SameName(const std::string& a, const char* b)
{
    const std::string::size_type eq = a.find('=');
    return std::string(b).compare(0, eq + 1, a, 0, eq + 1) == 0;
}

} // namespace

bool InTestChild()
{
    const char* mark = std::getenv("KV_TEST_CHILD");
    return mark && std::string(mark) == "1";
}

ChildRun RunTestInChild(const std::vector<std::string>& env)
{
    ChildRun run;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();

    // Everything the child needs is made before the fork: between fork and
    // exec only async-signal-safe calls are allowed.
    std::vector<std::string> entries = env;
    entries.emplace_back(kChildMark);
    for (char** e = environ; *e; ++e) {
        bool replaced = false;
        for (const std::string& entry : entries)
            replaced = replaced || SameName(entry, *e);
        if (!replaced)
            entries.emplace_back(*e);
    }
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string exe = "/proc/self/exe";
    std::vector<char*> argv { exe.data(), const_cast<char*>(filter.c_str()), nullptr };

    TempDir dir;
    const std::string log = dir.file("output.txt");
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        run.output = "cannot create " + log;
        return run;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(fd, 1);
        ::dup2(fd, 2);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(fd);
    if (child < 0) {
        run.output = "cannot fork";
        return run;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    run.output = ReadBytes(log);
    if (WIFSIGNALED(status))
        run.output += "\n(child killed by signal " + std::to_string(WTERMSIG(status)) + ")";
    run.passed = WIFEXITED(status) && WEXITSTATUS(status) == 0
        && run.output.find("[  PASSED  ] 1 test.") != std::string::npos;
    return run;
}

} // namespace kvtest
