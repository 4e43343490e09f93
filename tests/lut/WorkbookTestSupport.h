#pragma once
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/UserInterface.h"

using namespace velterra;

// Keeps every message the core shows, in order.
class RecordingUi : public IUserInterface {
  public:
    void ShowMessage(const std::string& text, MessageKind kind) override {
        messages.push_back(text);
        kinds.push_back(kind);
    }
    std::vector<std::string> messages;
    std::vector<MessageKind> kinds;
};

inline std::filesystem::path WorkbookFixture(const std::string& name) {
    return std::filesystem::path(VELTERRA_FIXTURES_DIR) / "workbooks" / name;
}

// A folder of its own under the system's temporary folder, removed with the object.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "lutbook-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
