#pragma once
// Runs the current test once more in a child process of its own, with some
// environment changed: for what a process decides once at its start (the
// media backend, the GStreamer plugin registry). The test body asks
// InTestChild() to tell the two runs apart:
//
//   if (!kvtest::InTestChild()) {
//       const auto child = kvtest::RunTestInChild({ "NAME=value" });
//       EXPECT_TRUE(child.passed) << child.output;
//       return;
//   }
//   ... the checks, in the child ...

#include <string>
#include <vector>

namespace kvtest
{

struct ChildRun {
    bool passed = false; // exited with 0 after running the test
    std::string output; // stdout and stderr, or why it did not start
};

// `env` holds "NAME=value" entries that replace or add to this process's.
ChildRun RunTestInChild(const std::vector<std::string>& env);
bool InTestChild();

} // namespace kvtest
