#pragma once
// A serial port published under a COM name: a symbolic link <port directory>/COMn pointing
// at a device node. Publishing replaces a stale link of the same name atomically; removal
// takes the link away only while it still points at this port, so a newer publisher of the
// same name keeps its link.
#include <string>

class TPortLink {
public:
    TPortLink() = default;
    ~TPortLink() { Remove(); }
    TPortLink(const TPortLink&) = delete;
    TPortLink& operator=(const TPortLink&) = delete;

    // Creates the directory if needed and links COM<portNumber> to `target`. Throws
    // std::system_error on failure, or when the name is taken by something not a link.
    void Publish(const std::string& directory, int portNumber, const std::string& target);
    // The same under any name: a by-path style link `name` in `directory`.
    void PublishAs(const std::string& directory, const std::string& name,
                   const std::string& target);
    void Remove();
    // The link's path, empty when nothing is published.
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
    std::string FTarget;
};

// "COM<n>"
std::string ComName(int portNumber);
