// orbsim's command line (port, faults to arm, whether values are shown) and
// the line it prints for each request. Kept out of main.cpp so that the
// reading of every option can be tested without running the program.
#pragma once

#include "tools/simulator/CBrokerSimulator.h"

#include <string>
#include <string_view>
#include <vector>

// One "--fault KIND[:MAIN/SUB][,times=N][,delay=MS][,code=N]".
struct SimFaultOption {
    SimFault fault;
    int main = -1, sub = -1;   // both -1: whatever requests come next
    int times = 1;
};

struct SimOptions {
    int port = 8002;
    bool help = false;         // print the usage and end
    bool showValues = false;   // print parameter values, passwords masked
    std::vector<SimFaultOption> faults;  // in the order given
};

// The exit status of a wrong command line.
constexpr int kSimUsageError = 64;

// Reads args (the words after the program name) into options. Returns
// true when they are read (options.help set for "--help" or "-h"); false
// with a one-line message in error otherwise.
bool ParseSimCommandLine(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// The usage text, fault kinds included, ending with a newline.
std::string SimUsage();

// "close-after-request" for SimFaultKind::CloseAfterRequest; "" for None.
std::string_view SimFaultKindName(SimFaultKind kind);
// The kind of a name SimFaultKindName gives; false for any other (and "none").
bool SimFaultKindFromName(std::string_view name, SimFaultKind* kind);

// Queues the options' faults on the server, in their order.
void ArmFaults(CBrokerSimulator& server, const std::vector<SimFaultOption>& faults);
// "drip on 500/6, 1 time, 200 ms apart": how orbsim reports an armed fault.
std::string DescribeFault(const SimFaultOption& option);

// "request 500/6 (sealed): TC_MFUNCNO TC_SFUNCNO code price trdpwd": the
// function and the parameter names; with showValues "name=value", a
// password parameter's value masked. Bytes outside printable ASCII show as
// \xNN, so a peer cannot drive the terminal.
std::string DescribeRequest(const SimRequest& request, bool showValues);
