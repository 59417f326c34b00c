#pragma once
// A fresh temporary directory for a test's port links, removed with its content.
#include <filesystem>
#include <stdlib.h>
#include <string>

class TTempDir {
public:
    TTempDir() {
        char name[] = "/tmp/uego-sim-test-XXXXXX";
        if (mkdtemp(name) != nullptr) {
            FPath = name;
        }
    }
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};
