#pragma once
// Plain-language lines about a COM number on this machine, for the Com Port dialog.
#include <string>

// "COM1 = /dev/ttyUSB0", or "COM3: no such device"; a second line tells why the port
// folder is passed over when it is not safe ("Port folder ignored: another user owns it").
std::string DescribePort(int portNum);

// True when the error text of a refused opening says permission was denied.
bool IsPermissionError(const std::string& errorText);

// How to get access to the device (group membership, then a new login); names the group
// that owns `devicePath` when it can be found.
std::string AccessHint(const std::string& devicePath);
