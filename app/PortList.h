#pragma once
// The COM map for --list-ports: which device each COM number stands for on this machine.
#include <string>
#include <vector>

// One line per COM number that names a device, in number order, such as
// "COM1 = /dev/ttyUSB0 (usb-Example_Serial_A1B2C3-if00-port0)" or
// "COM2 = /dev/pts/4 (port directory entry)"; a single line saying so when there is none, and
// a single line with the problem when the port directory is refused.
// `byIdFolder` holds the persistent names of USB serial adapters.
std::vector<std::string> PortListLines(const std::string& byIdFolder = "/dev/serial/by-id");
