#pragma once
// A pseudo-terminal pair standing in for a serial port and the instrument at
// its other end: the program opens the slave side (mapped to a port number
// through KORVEX_COM<n>), the test reads and writes the master side.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvtest
{

class PtyPair
{
public:
    PtyPair(); // throws std::runtime_error when no pseudo-terminal is free
    ~PtyPair(); // closes the master and restores the variables it set
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slave_; }
    // Sets KORVEX_COM<n> to the slave for the lifetime of the pair.
    void MapAs(int portNumber);

    // Bytes from the instrument to the program.
    void Write(const std::string& bytes);
    // Reads what the program sent until `count` bytes have come or `waitMs`
    // passed without any; returns what arrived.
    std::string Read(std::size_t count, int waitMs = 2000);
    // The instrument goes away (an unplugged adapter).
    void CloseMaster();
    int MasterFd() const { return master_; }

private:
    int master_ = -1;
    std::string slave_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Sets an environment variable until the scope ends (nullopt: unset).
class EnvScope
{
public:
    EnvScope(const std::string& name, const std::optional<std::string>& value);
    ~EnvScope();
    EnvScope(const EnvScope&) = delete;
    EnvScope& operator=(const EnvScope&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Maps COM1 to COM50 to devices that do not exist, so that the machine's own
// serial ports stay out of a test; a test maps the ports it uses after.
class IsolatedPorts
{
public:
    IsolatedPorts()
    {
        for (int n = 1; n <= 50; ++n)
            scopes_.push_back(std::make_unique<EnvScope>(
                "KORVEX_COM" + std::to_string(n), "/nonexistent/korvex-com" + std::to_string(n)));
    }

private:
    std::vector<std::unique_ptr<EnvScope>> scopes_;
};

} // namespace kvtest
