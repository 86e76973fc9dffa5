#include "PtyPair.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace kvtest
{

namespace
{

std::optional<std::string> GetEnv(const std::string& name)
{
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    return std::nullopt;
}

void PutEnv(const std::string& name, const std::optional<std::string>& value)
{
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
}

} // namespace

PtyPair::PtyPair()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128] = {};
    if (ptsname_r(master_, name, sizeof name) != 0)
        throw std::runtime_error("no pseudo-terminal name");
    slave_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    CloseMaster();
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        PutEnv(it->first, it->second);
}

void PtyPair::MapAs(int portNumber)
{
    const std::string name = "KORVEX_COM" + std::to_string(portNumber);
    saved_.emplace_back(name, GetEnv(name));
    setenv(name.c_str(), slave_.c_str(), 1);
}

void PtyPair::Write(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p { master_, POLLOUT, 0 };
            poll(&p, 1, 1000);
        } else if (!(n < 0 && errno == EINTR)) {
            throw std::runtime_error("pseudo-terminal write failed");
        }
    }
}

std::string PtyPair::Read(std::size_t count, int waitMs)
{
    std::string text;
    char buffer[4096];
    while (text.size() < count) {
        pollfd p { master_, POLLIN, 0 };
        if (poll(&p, 1, waitMs) <= 0 || !(p.revents & POLLIN))
            break;
        const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - text.size()));
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

void PtyPair::CloseMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

EnvScope::EnvScope(const std::string& name, const std::optional<std::string>& value)
    : name_(name)
    , old_(GetEnv(name))
{
    PutEnv(name, value);
}

EnvScope::~EnvScope()
{
    PutEnv(name_, old_);
}

} // namespace kvtest
