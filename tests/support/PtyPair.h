#pragma once
// A pseudo-terminal pair standing in for a serial port and the instrument at
// its other end: the program opens the slave side (mapped to a port number
// through KORVEX_COM<n>), the test reads and writes the master side.

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

} // namespace kvtest
