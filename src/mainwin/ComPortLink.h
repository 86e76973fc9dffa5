#pragma once
// The serial component as the main window drives it for NMEA input: port
// number and bit rate, open and close, the carriage-return data trigger, the
// no-data timer trigger (periods in ticks of 55 ms) and byte reads inside the
// available-data event. The main window holds one through TMainForm::
// ComPortLink; TComPortAdapter wraps the serial component, and tests put a
// scripted port in its place so the line handlers run without a device.

#include <cstdint>
#include <string>

class TComPortLink
{
public:
    virtual ~TComPortLink() = default;

    virtual uint16_t ComNumber() const = 0;
    virtual void SetComNumber(uint16_t number) = 0;
    virtual void SetBaud(int32_t baud) = 0;
    // Opening raises the component's exception when the port cannot be opened.
    virtual void SetOpen(bool open) = 0;
    // The available-data threshold: 1 while the main window has the port
    // open, 0 after closing; it doubles as the test whether the port is open.
    virtual uint16_t AvailLength() const = 0;
    virtual void SetAvailLength(uint16_t length) = 0;
    virtual uint16_t AddDataTrigger(const std::string& data, bool ignoreCase) = 0;
    virtual uint16_t AddTimerTrigger() = 0;
    virtual void ArmTimerTrigger(uint16_t handle, int32_t ticks, bool activate) = 0;
    virtual void RemoveTrigger(uint16_t handle) = 0;
    virtual void RemoveAllTriggers() = 0;
    // Inside the available-data event: the next of the announced bytes.
    virtual uint8_t ReadChar() = 0;
};

// Any component with the serial component's operations (TSerialPort) as a
// TComPortLink; the component is not owned.
template <typename Port> class TComPortAdapter : public TComPortLink
{
public:
    explicit TComPortAdapter(Port& port)
        : port_(port)
    {
    }

    uint16_t ComNumber() const override { return port_.ComNumber(); }
    void SetComNumber(uint16_t number) override { port_.SetComNumber(number); }
    void SetBaud(int32_t baud) override { port_.SetBaud(baud); }
    void SetOpen(bool open) override { port_.SetOpen(open); }
    uint16_t AvailLength() const override { return port_.AvailLength(); }
    void SetAvailLength(uint16_t length) override { port_.SetAvailLength(length); }
    uint16_t AddDataTrigger(const std::string& data, bool ignoreCase) override
    {
        return port_.AddDataTrigger(data, ignoreCase);
    }
    uint16_t AddTimerTrigger() override { return port_.AddTimerTrigger(); }
    void ArmTimerTrigger(uint16_t handle, int32_t ticks, bool activate) override
    {
        port_.ArmTimerTrigger(handle, ticks, activate);
    }
    void RemoveTrigger(uint16_t handle) override { port_.RemoveTrigger(handle); }
    void RemoveAllTriggers() override { port_.RemoveAllTriggers(); }
    uint8_t ReadChar() override { return static_cast<uint8_t>(port_.ReadChar()); }

private:
    Port& port_;
};
