#pragma once
// Plain-language lines about a COM number on this machine, for the Com Port dialog.
#include <string>

struct TProbeCandidate;
struct TProbeResult;

// "COM1 = /dev/ttyUSB0", or "COM3: no such device", or, while the port folder is refused,
// "COM1: port folder /tmp/uego4100-1000/ports ignored: others can write to it".
std::string DescribePort(int portNum);

// "COM3 = /dev/ttyUSB1: controller found" ("/dev/ttyUSB1: controller found" for a device
// without a COM number).
std::string FoundControllerText(const TProbeCandidate& port);
// "No controller answered on COM1, /dev/ttyACM0 (COM2 is held by another program)."
std::string NoControllerText(const TProbeResult& result);

// True when the error text of a refused opening says permission was denied.
bool IsPermissionError(const std::string& errorText);

// How to get access to the device (group membership, then a new login); names the group
// that owns `devicePath` when it can be found.
std::string AccessHint(const std::string& devicePath);
