#pragma once
// The example recording server run as a child process of the console: started with a
// pipe as its standard input and another as its standard output, it tells its port on
// its first line; closing the input pipe ends it. The object waits for the child when it
// goes, so no process is left behind.
#include <cstdint>
#include <string>

#include <sys/types.h>

namespace host {

class RecorderProcess {
public:
    RecorderProcess() = default;
    ~RecorderProcess();
    RecorderProcess(const RecorderProcess&) = delete;
    RecorderProcess& operator=(const RecorderProcess&) = delete;

    // Runs the program and reads its port (waiting at most timeoutMs). False, with the
    // reason, when it cannot be run or does not tell a port in time; nothing is left
    // running then.
    bool Start(const std::string& program, int timeoutMs, std::string* why);
    void Stop();
    uint16_t Port() const { return m_port; }
    bool Running() const { return m_pid > 0; }

private:
    pid_t m_pid = -1;
    int m_input = -1;  // the child's standard input, our end
    uint16_t m_port = 0;
};

// Reads "port N" from the start of text; 0 when it is not there or N is not a port.
uint16_t ParsePortLine(const std::string& text);

} // namespace host
