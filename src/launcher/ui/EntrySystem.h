#pragma once

#include "launcher/EntryView.h"

namespace tramble {

// The entries' view of the running system: files, starting programs, the
// shared MIME database and a steady clock.
class TEntrySystem : public IEntrySystem {
public:
    bool Exists(const std::string& path) override;
    bool IsFolder(const std::string& path) override;
    bool IsExecutable(const std::string& path) override;
    int Open(const std::string& target, const std::string& arguments, const std::string& folder,
             uint8_t windowState) override;
    std::string IconForExtension(const std::string& extension) override;
};

} // namespace tramble
