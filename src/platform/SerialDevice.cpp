#include "platform/SerialDevice.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "platform/SerialError.h"

namespace platform
{

std::string SerialDeviceName(int portNumber)
{
    const std::string variable = "KORVEX_COM" + std::to_string(portNumber);
    if (const char* device = std::getenv(variable.c_str()); device && *device)
        return device;
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

namespace
{

struct Rate {
    uint32_t Baud;
    speed_t Code;
};

constexpr std::array<Rate, 31> Rates { { { 50, B50 }, { 75, B75 }, { 110, B110 }, { 134, B134 },
    { 150, B150 }, { 200, B200 }, { 300, B300 }, { 600, B600 }, { 1200, B1200 }, { 1800, B1800 },
    { 2400, B2400 }, { 4800, B4800 }, { 9600, B9600 }, { 19200, B19200 }, { 38400, B38400 },
    { 57600, B57600 }, { 115200, B115200 }, { 230400, B230400 }, { 460800, B460800 }, { 500000, B500000 },
    { 576000, B576000 }, { 921600, B921600 }, { 1000000, B1000000 }, { 1152000, B1152000 },
    { 1500000, B1500000 }, { 2000000, B2000000 }, { 2500000, B2500000 }, { 3000000, B3000000 },
    { 3500000, B3500000 }, { 4000000, B4000000 }, { 0, B0 } } };

bool RateCode(uint32_t baud, speed_t& code)
{
    for (const Rate& rate : Rates) {
        if (rate.Baud == baud && baud != 0) {
            code = rate.Code;
            return true;
        }
    }
    return false;
}

uint32_t RateBaud(speed_t code)
{
    for (const Rate& rate : Rates)
        if (rate.Code == code)
            return rate.Baud;
    return 0;
}

// A node without hardware behind it (a /dev/ttyS<n> with no UART) and a
// device that has gone away answer with EIO: for the program that port does
// not exist (EIO is 5, which the serial link would read as access denied).
int DeviceErrorNumber(int error)
{
    return error == EIO ? 2 : SerialErrorNumber(error);
}

// Opens, locks and checks that the path is a terminal; the descriptor, or
// -(error number).
int OpenLocked(const std::string& path, termios& settings)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -DeviceErrorNumber(errno);
    // flock holds against every other open of the device, also by root and
    // by this program; TIOCEXCL keeps other users' programs out as well.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || tcgetattr(fd, &settings) != 0) {
        const int error = errno;
        ::close(fd);
        return -DeviceErrorNumber(error);
    }
    return fd;
}

void CloseLocked(int fd)
{
    // An exclusive terminal stays exclusive after its last close while the
    // other end of a pseudo-terminal is open.
    ioctl(fd, TIOCNXCL);
    ::close(fd);
}

// The driver's error counters against those of the last look: the
// SerialErr* bits of the counters that moved. The first look only records.
uint32_t ChangedErrors(int fd, SerialErrorCounts& last)
{
    serial_icounter_struct now {};
    if (ioctl(fd, TIOCGICOUNT, &now) != 0)
        return 0;
    const int counts[5] = { now.buf_overrun, now.overrun, now.parity, now.frame, now.brk };
    static const uint32_t bits[5]
        = { SerialErrRxOverflow, SerialErrOverrun, SerialErrParity, SerialErrFrame, SerialErrBreak };
    uint32_t changed = 0;
    for (int i = 0; i < 5; ++i) {
        if (last.Known && counts[i] != last.Counts[i])
            changed |= bits[i];
        last.Counts[i] = counts[i];
    }
    last.Known = true;
    return changed;
}

bool NoModemLines(int error)
{
    return error == ENOTTY || error == EINVAL || error == ENOTSUP || error == EIO;
}

// Modem line and error counter changes since the last look, as Serial* event
// bits; lines and counts hold what the last look saw.
uint32_t LineChanges(SerialDevice& device, uint8_t& lines, SerialErrorCounts& counts)
{
    uint32_t events = 0;
    const uint8_t now = device.ModemLines();
    const uint8_t flipped = now ^ lines;
    if (flipped & SerialLineCts)
        events |= SerialCtsChanged;
    if (flipped & SerialLineDsr)
        events |= SerialDsrChanged;
    if (flipped & SerialLineDcd)
        events |= SerialDcdChanged;
    if (flipped & SerialLineRing)
        events |= SerialRingSeen;
    lines = now;

    const uint32_t errors = device.HasErrorCounters() ? ChangedErrors(device.Fd(), counts) : 0;
    if (errors & SerialErrBreak)
        events |= SerialBreakSeen;
    if (errors & ~SerialErrBreak)
        events |= SerialErrorSeen;
    return events;
}

// The signal that ends a wait in the driver: its handler does nothing, the
// wait returns with EINTR.
int InterruptSignal()
{
    static const int signal = [] {
        const int number = SIGRTMIN + 4;
        struct sigaction action {
        };
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the wait must end
        sigaction(number, &action, nullptr);
        return number;
    }();
    return signal;
}

} // namespace

// --- SerialDevice -------------------------------------------------------------

SerialDevice::~SerialDevice()
{
    Close();
}

int SerialDevice::Probe(const std::string& path)
{
    termios settings {};
    const int fd = OpenLocked(path, settings);
    if (fd < 0)
        return -fd;
    CloseLocked(fd);
    return 0;
}

int SerialDevice::Open(const std::string& path)
{
    Close();
    termios t {};
    const int fd = OpenLocked(path, t);
    if (fd < 0)
        return -fd;
    ioctl(fd, TIOCEXCL);

    // Raw whatever the device was left in: no break or parity marking, no
    // CR/LF translation, no software flow, no output processing, no echo,
    // no line editing, no signals; 8 data bits; ignore the carrier; reads
    // return at once with what is there.
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON
        | IXOFF | IXANY | INPCK | IUCLC | IMAXBEL);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        const int error = errno;
        CloseLocked(fd);
        return DeviceErrorNumber(error);
    }
    int bits = 0;
    hasLines_ = ioctl(fd, TIOCMGET, &bits) == 0;
    serial_icounter_struct counters {};
    hasCounters_ = ioctl(fd, TIOCGICOUNT, &counters) == 0;
    fd_ = fd;
    {
        // Counts from before the open are not this program's errors.
        std::lock_guard guard(countLock_);
        counts_ = SerialErrorCounts {};
        ChangedErrors(fd, counts_);
    }
    return 0;
}

void SerialDevice::Close()
{
    const int fd = fd_.exchange(-1);
    if (fd >= 0)
        CloseLocked(fd);
}

int SerialDevice::GetLine(SerialLine& line)
{
    termios t {};
    if (tcgetattr(fd_, &t) != 0)
        return DeviceErrorNumber(errno);
    line.Baud = RateBaud(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
    case CS5:
        line.DataBits = 5;
        break;
    case CS6:
        line.DataBits = 6;
        break;
    case CS7:
        line.DataBits = 7;
        break;
    default:
        line.DataBits = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        line.Parity = 0;
    else if (t.c_cflag & CMSPAR)
        line.Parity = (t.c_cflag & PARODD) ? 3 : 4;
    else
        line.Parity = (t.c_cflag & PARODD) ? 1 : 2;
    line.StopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    line.RtsCts = (t.c_cflag & CRTSCTS) != 0;
    line.XonOutput = (t.c_iflag & IXON) != 0;
    line.XonInput = (t.c_iflag & IXOFF) != 0;
    line.XonChar = t.c_cc[VSTART];
    line.XoffChar = t.c_cc[VSTOP];
    return 0;
}

int SerialDevice::SetLine(const SerialLine& line)
{
    termios t {};
    if (tcgetattr(fd_, &t) != 0)
        return DeviceErrorNumber(errno);
    speed_t code;
    if (!RateCode(line.Baud, code))
        return EINVAL;
    cfsetispeed(&t, code);
    cfsetospeed(&t, code);
    static const tcflag_t sizes[] = { CS5, CS6, CS7, CS8 };
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= sizes[line.DataBits >= 5 && line.DataBits <= 8 ? line.DataBits - 5 : 3];
    switch (line.Parity) {
    case 1:
        t.c_cflag |= PARENB | PARODD;
        break;
    case 2:
        t.c_cflag |= PARENB;
        break;
    case 3:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 4:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (line.StopBits >= 2)
        t.c_cflag |= CSTOPB;
    if (line.RtsCts)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
    if (line.XonOutput)
        t.c_iflag |= IXON;
    if (line.XonInput)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = line.XonChar;
    t.c_cc[VSTOP] = line.XoffChar;
    if (tcsetattr(fd_, TCSANOW, &t) != 0)
        return DeviceErrorNumber(errno);
    return 0;
}

int SerialDevice::Read(uint8_t* buffer, int count)
{
    if (count <= 0)
        return 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, static_cast<std::size_t>(count));
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return 0;
        return -DeviceErrorNumber(errno);
    }
}

uint32_t SerialDevice::InQueue()
{
    int count = 0;
    if (ioctl(fd_, FIONREAD, &count) != 0 || count < 0)
        return 0;
    return static_cast<uint32_t>(count);
}

SerialWrite SerialDevice::Write(const uint8_t* data, std::size_t count, std::size_t& written,
    std::initializer_list<SerialEvent*> cancels, int& cancelledBy)
{
    written = 0;
    cancelledBy = -1;
    std::vector<pollfd> fds { pollfd { fd_, POLLOUT, 0 } };
    for (SerialEvent* event : cancels)
        fds.push_back(pollfd { event->Fd(), POLLIN, 0 });
    while (written < count) {
        const ssize_t n = ::write(fd_, data + written, count - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            return SerialWrite::Failed;
        // The driver's queue is full: wait for room or a cancel.
        for (;;) {
            if (poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR)
                    continue;
                return SerialWrite::Failed;
            }
            int index = 0;
            for (SerialEvent* event : cancels) {
                if ((fds[static_cast<std::size_t>(index) + 1].revents & POLLIN) && event->TryTake()) {
                    cancelledBy = index;
                    return SerialWrite::Cancelled;
                }
                ++index;
            }
            if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
                return SerialWrite::Failed;
            if (fds[0].revents & POLLOUT)
                break;
        }
    }
    return SerialWrite::Done;
}

int SerialDevice::Purge(bool input, bool output)
{
    if (!input && !output)
        return 0;
    const int queue = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    if (tcflush(fd_, queue) != 0)
        return DeviceErrorNumber(errno);
    return 0;
}

uint32_t SerialDevice::TakeErrors()
{
    if (!hasCounters_)
        return 0;
    std::lock_guard guard(countLock_);
    return ChangedErrors(fd_, counts_);
}

uint8_t SerialDevice::ModemLines()
{
    if (!hasLines_)
        return 0;
    int bits = 0;
    if (ioctl(fd_, TIOCMGET, &bits) != 0)
        return 0;
    uint8_t lines = 0;
    if (bits & TIOCM_CTS)
        lines |= SerialLineCts;
    if (bits & TIOCM_DSR)
        lines |= SerialLineDsr;
    if (bits & TIOCM_RNG)
        lines |= SerialLineRing;
    if (bits & TIOCM_CAR)
        lines |= SerialLineDcd;
    return lines;
}

int SerialDevice::SetModemBit(int bit, bool on)
{
    if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) == 0)
        return 0;
    return NoModemLines(errno) ? 0 : DeviceErrorNumber(errno);
}

int SerialDevice::SetDtr(bool on)
{
    return SetModemBit(TIOCM_DTR, on);
}

int SerialDevice::SetRts(bool on)
{
    return SetModemBit(TIOCM_RTS, on);
}

int SerialDevice::SetBreak(bool on)
{
    if (ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0)
        return 0;
    return NoModemLines(errno) ? 0 : DeviceErrorNumber(errno);
}

// --- SerialEventWaiter -------------------------------------------------------

SerialEventWaiter::SerialEventWaiter(SerialDevice& device, SerialEvent& cancel)
    : device_(device)
    , cancel_(cancel)
    , epoll_(epoll_create1(EPOLL_CLOEXEC))
{
    if (epoll_ < 0)
        return;
    // Edge-triggered: one report per arrival, so bytes left unread (a full
    // input ring) do not wake the waiter again and again.
    epoll_event deviceEvent {};
    deviceEvent.events = EPOLLIN | EPOLLPRI | EPOLLET;
    deviceEvent.data.u32 = 0;
    epoll_event cancelEvent {};
    cancelEvent.events = EPOLLIN;
    cancelEvent.data.u32 = 1;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, device_.Fd(), &deviceEvent) != 0
        || epoll_ctl(epoll_, EPOLL_CTL_ADD, cancel_.Fd(), &cancelEvent) != 0) {
        ::close(epoll_);
        epoll_ = -1;
        return;
    }
    watchLines_ = device_.HasModemLines();
    Changes();
}

SerialEventWaiter::~SerialEventWaiter()
{
    if (epoll_ >= 0)
        ::close(epoll_);
}

uint32_t SerialEventWaiter::Changes()
{
    return watchLines_ ? LineChanges(device_, lines_, counts_) : 0;
}

SerialEventWaiter::Result SerialEventWaiter::Wait(uint32_t& events)
{
    events = 0;
    if (epoll_ < 0)
        return Result::Failed;
    for (;;) {
        epoll_event ready[2];
        const int n = epoll_wait(epoll_, ready, 2, watchLines_ ? 100 : -1);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Result::Failed;
        }
        bool vanished = false;
        for (int i = 0; i < n; ++i) {
            if (ready[i].data.u32 == 1)
                return Result::Cancelled;
            if (ready[i].events & (EPOLLHUP | EPOLLERR))
                vanished = true;
            else if (ready[i].events & (EPOLLIN | EPOLLPRI))
                events |= SerialRxChar;
        }
        if (vanished)
            return Result::Vanished;
        events |= Changes();
        if (events != 0)
            return Result::Events;
    }
}

// --- SerialInputWaiter -------------------------------------------------------

namespace
{

constexpr uint32_t DeviceTag = 0xFFFFFFFF;

} // namespace

SerialInputWaiter::SerialInputWaiter(SerialDevice& device, std::initializer_list<SerialEvent*> events)
    : signals_(events)
    , deviceFd_(device.Fd())
    , epoll_(epoll_create1(EPOLL_CLOEXEC))
{
    if (epoll_ < 0)
        throw std::runtime_error("Cannot wait for the serial device");
    for (std::size_t i = 0; i < signals_.size(); ++i) {
        epoll_event event {};
        event.events = EPOLLIN;
        event.data.u32 = static_cast<uint32_t>(i);
        if (epoll_ctl(epoll_, EPOLL_CTL_ADD, signals_[i]->Fd(), &event) != 0) {
            ::close(epoll_);
            throw std::runtime_error("Cannot wait for the serial device");
        }
    }
    // Edge-triggered: one report per arrival, so bytes left unread (a full
    // input ring) do not wake the waiter again and again.
    epoll_event event {};
    event.events = EPOLLIN | EPOLLPRI | EPOLLET;
    event.data.u32 = DeviceTag;
    watching_ = deviceFd_ >= 0 && epoll_ctl(epoll_, EPOLL_CTL_ADD, deviceFd_, &event) == 0;
}

SerialInputWaiter::~SerialInputWaiter()
{
    ::close(epoll_);
}

SerialInputWaiter::Result SerialInputWaiter::Wait(int timeoutMs)
{
    Result result;
    const long long start = SteadyNowMs();
    std::vector<epoll_event> ready(signals_.size() + 1);
    for (;;) {
        const int n
            = epoll_wait(epoll_, ready.data(), static_cast<int>(ready.size()), RemainingMs(timeoutMs, start));
        if (n < 0 && errno != EINTR)
            return result;
        std::size_t lowest = signals_.size();
        for (int i = 0; i < n; ++i) {
            const epoll_event& event = ready[static_cast<std::size_t>(i)];
            if (event.data.u32 != DeviceTag) {
                lowest = std::min<std::size_t>(lowest, event.data.u32);
            } else if (event.events & (EPOLLHUP | EPOLLERR)) {
                result.Vanished = true;
                epoll_ctl(epoll_, EPOLL_CTL_DEL, deviceFd_, nullptr);
                watching_ = false;
            } else {
                result.Input = true;
            }
        }
        // Another waiter may have taken an auto-reset signal first; the
        // signals are level-triggered, so one set later reports again.
        for (std::size_t i = lowest; i < signals_.size(); ++i) {
            if (signals_[i]->IsSet() && signals_[i]->TryTake()) {
                result.Signal = static_cast<int>(i);
                break;
            }
        }
        if (result.Signal >= 0 || result.Input || result.Vanished)
            return result;
        if (timeoutMs >= 0 && RemainingMs(timeoutMs, start) == 0)
            return result;
    }
}

// --- SerialLineWaiter --------------------------------------------------------

SerialLineWaiter::SerialLineWaiter(SerialDevice& device, std::initializer_list<SerialEvent*> cancels)
    : device_(device)
    , cancels_(cancels)
{
    if (device_.HasModemLines()) {
        // Whether the driver can wait for the lines shows only by trying:
        // the first wait finds out.
        mode_ = Mode::Driver;
        InterruptSignal();
    }
    LineChanges(device_, lines_, counts_);
}

bool SerialLineWaiter::Cancelled()
{
    for (SerialEvent* cancel : cancels_)
        if (cancel->IsSet())
            return true;
    return false;
}

uint32_t SerialLineWaiter::Changes()
{
    return LineChanges(device_, lines_, counts_);
}

void SerialLineWaiter::Interrupt(unsigned long thread)
{
    pthread_kill(static_cast<pthread_t>(thread), InterruptSignal());
}

SerialLineWaiter::Result SerialLineWaiter::Wait(uint32_t& events)
{
    events = 0;
    std::vector<pollfd> fds;
    for (SerialEvent* cancel : cancels_)
        fds.push_back(pollfd { cancel->Fd(), POLLIN, 0 });
    for (;;) {
        if (Cancelled())
            return Result::Cancelled;
        if (mode_ == Mode::Driver) {
            if (ioctl(device_.Fd(), TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RNG) == 0) {
                events = Changes();
                if (events != 0)
                    return Result::Events;
                continue;
            }
            const int error = errno;
            if (error == EINTR)
                continue;
            if (error == EIO || error == ENODEV)
                return Result::Vanished;
            // The driver cannot wait for the lines: they are looked at.
            mode_ = Mode::Polled;
            continue;
        }
        const int ready = poll(fds.data(), fds.size(), mode_ == Mode::Polled ? 100 : -1);
        if (ready < 0 && errno != EINTR)
            return Result::Failed;
        if (ready > 0)
            continue; // a cancel: reported at the top
        if (mode_ == Mode::Polled) {
            events = Changes();
            if (events != 0)
                return Result::Events;
        }
    }
}

} // namespace platform
