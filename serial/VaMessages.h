#pragma once
// Texts of the serial port component and their composition with the platform's error code
// and text.
#include <initializer_list>
#include <string>

inline constexpr const char* sVaPortOpen = "Can't perform this operation while port is open";
inline constexpr const char* sVaNotFound = "Specified device not found (%s).";
inline constexpr const char* sVaCantOpen = "Can't open specified device %s";
inline constexpr const char* sVaCantOpenCode = " (Error %d, %s)";
inline constexpr const char* sVaWriteDcb = "Error writing dcb (%d), %s";
inline constexpr const char* sVaInitBuffers = "Error initializing buffers (%d), %s";
inline constexpr const char* sVaSetTimeouts = "Error setting timeouts (%d), %s";
inline constexpr const char* sVaSetEventMask = " Error setting EventMask (%d), %s";
inline constexpr const char* sVaStatistics = "Error retrieving statistics (%d), %s";
inline constexpr const char* sVaClearBuffers = "Error clearing buffers (%d), %s";
inline constexpr const char* sVaReadError = "Read error (%d), %s";
inline constexpr const char* sVaWriteError = "Write error (%d), %s";
inline constexpr const char* sVaBufferFull = "Output buffer is full. Please check comm status.";

// Puts `args` in place of the %d and %s placeholders of `pattern`, in order ("%%" is a
// percent sign). Placeholders without an argument are left as they are; spare arguments
// are ignored. The pattern is never interpreted beyond that.
std::string VaFormat(const std::string& pattern, std::initializer_list<std::string> args);

// The platform's text for an error code (strerror).
std::string VaSysErrorMessage(int code);

// `pattern` with the platform's code and text: "(%d), %s" -> "(16), Device or resource busy".
std::string VaErrorMessage(const std::string& pattern, int code);
