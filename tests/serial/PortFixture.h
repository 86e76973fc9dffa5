#pragma once
// A com-port component on a pseudo-terminal mapped as COM3, with the helpers
// the threaded tests share: waiting while the GUI thread serves events, the
// serial link's thread count, and ports mapped away from the machine's devices.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/Ui.h"
#include "serial/SerPort.h"
#include "serial/Win32Dispatcher.h"
#include "support/PtyPair.h"
#include "support/QtWait.h"
#include "support/ScriptedUi.h"

namespace serial::test
{

using kvtest::WaitFor;

// Worker threads of the serial link alive in this process (they are named
// "serial comm", "serial dispatch" and "serial output").
inline int SerialThreadCount()
{
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name.rfind("serial ", 0) == 0)
            ++count;
    }
    return count;
}

using kvtest::IsolatedPorts;

class PortFixture : public ::testing::Test
{
protected:
    PortFixture()
    {
        pty.MapAs(3);
        port.SetComNumber(3);
        port.SetBaud(38400);
        port.SetAutoOpen(false);
    }

    void TearDown() override
    {
        port.SetOpen(false);
        WaitFor([&] { return port.Engine() == nullptr; });
    }

    TWin32Dispatcher* Engine() { return dynamic_cast<TWin32Dispatcher*>(port.Engine()); }

    // The main window's way: the line assembly on available data and the
    // routing on the carriage-return trigger, recorded here.
    void RecordLines()
    {
        port.SetOnTriggerAvail([this](TCustomSerialPort& cp, uint16_t count) {
            events.push_back("avail " + std::to_string(count));
            for (int i = 0; i < count; ++i)
                received += static_cast<char>(cp.ReadChar());
        });
        port.SetOnTriggerData([this](TCustomSerialPort&, uint16_t handle) {
            events.push_back("data " + std::to_string(handle));
        });
    }

    // Opens the port set up for lines as the main window sets it up: the
    // available-data event from the first byte and the carriage-return
    // trigger, whose handle it returns.
    uint16_t OpenForLines()
    {
        port.SetOpen(true);
        port.SetAvailLength(1);
        return port.AddDataTrigger("\r", false);
    }

    platform::ScriptedUi ui;
    kvtest::PtyPair pty;
    TSerialPort port;
    std::vector<std::string> events;
    std::string received;
};

} // namespace serial::test
