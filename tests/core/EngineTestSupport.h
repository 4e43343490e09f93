// Document set-up for the engine tests: a hand-made command table, a private registry with its
// tags, a user interface and a view that record what the document does.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EngineScriptedProtocol.h"
#include "core/CommandTable.h"
#include "core/DocumentObserver.h"
#include "core/PortRegistry.h"
#include "core/UserInterface.h"
#include "core/VelterraDoc.h"

using namespace velterra;

namespace enginetest {

inline std::unique_ptr<CommandInfo> Number(uint8_t id, uint8_t length, uint32_t min, uint32_t max,
                                           bool writable = true) {
    auto c = std::make_unique<CommandInfo>();
    c->CommandID = id;
    c->CharLength = length;
    c->Min = min;
    c->Max = max;
    c->EnableRW = writable ? 1 : 0;
    return c;
}

inline std::unique_ptr<CommandInfo> Text(uint8_t id, uint8_t length, bool writable = true) {
    auto c = std::make_unique<CommandInfo>();
    c->CommandID = id;
    c->CharLength = length;
    c->PureTextValue = 1;
    c->EnableRW = writable ? 1 : 0;
    return c;
}

inline std::unique_ptr<CommandInfo> List(uint8_t id,
                                         std::vector<std::pair<uint8_t, std::string>> items,
                                         bool writable = true) {
    auto c = std::make_unique<CommandInfo>();
    c->CommandID = id;
    c->CharLength = 1;
    c->EnableList = 1;
    c->EnableRW = writable ? 1 : 0;
    for (auto& [value, text] : items) c->ListItems.push_back({value, text});
    c->ListNum = static_cast<int32_t>(c->ListItems.size());
    return c;
}

inline RowInfo Row(std::string name, std::unique_ptr<CommandInfo> command) {
    RowInfo row;
    row.SectionName = name;
    row.DisplayName = std::move(name);
    row.Command = std::move(command);
    return row;
}

inline BlockInfo Block(std::string name, std::vector<RowInfo> rows) {
    BlockInfo block;
    block.SectionName = name;
    block.DisplayName = std::move(name);
    block.Rows = std::move(rows);
    block.RowCount = static_cast<int32_t>(block.Rows.size());
    return block;
}

struct Update {
    int hint;
    bool withBlocks;
    std::string message;  // the line hint 3 carries
};

class RecordingView : public IDocumentObserver {
  public:
    explicit RecordingView(CVelterraDoc& doc) : doc_(doc) { doc.AddObserver(this); }
    ~RecordingView() override { doc_.RemoveObserver(this); }
    void OnDocumentUpdate(int hint, const BlockArray* blocks, const std::string& message) override {
        updates.push_back({hint, blocks != nullptr, message});
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> result;
        for (const auto& u : updates)
            if (u.hint == 3) result.push_back(u.message);
        return result;
    }
    std::vector<int> Hints() const {
        std::vector<int> result;
        for (const auto& u : updates) result.push_back(u.hint);
        return result;
    }
    std::vector<Update> updates;

  private:
    CVelterraDoc& doc_;
};

class RecordingUi : public IUserInterface {
  public:
    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    void SetWaitCursor(bool on) override { events.push_back(on ? "wait on" : "wait off"); }
    void StartPollTimer(int periodMs) override {
        events.push_back("timer " + std::to_string(periodMs));
    }
    void RepaintLamp() override {
        events.push_back("lamp");
        if (onLamp) onLamp();
    }
    OpenCameraResult RunOpenCameraDialog(CVelterraDoc&) override {
        events.push_back("dialog");
        return dialogResult;
    }
    bool RunWindowCommand(int id) override {
        events.push_back("command " + std::to_string(id));
        return true;
    }
    void ResetCommandMenus() override { events.push_back("reset menus"); }
    void LoadBasicCommands(const std::string& db) override { events.push_back("basic " + db); }
    void LoadAdvancedCommands(const std::string& db) override {
        events.push_back("advanced " + db);
    }
    void LoadPasswordCommands(const std::string& db) override {
        events.push_back("password " + db);
    }
    int Count(const std::string& event) const {
        int n = 0;
        for (const auto& e : events) n += e == event;
        return n;
    }

    std::vector<std::string> messages;
    std::vector<std::string> events;
    OpenCameraResult dialogResult;
    std::function<void()> onLamp;
};

// A start-up directory of its own with a small configuration: models "Alpha" (camera text
// "ALPHA-1") and "Beta" ("BETA-1"), one list parameter each, so connecting is quick.
class ScratchConfig {
  public:
    ScratchConfig() {
        std::string pattern = (std::filesystem::temp_directory_path() / "engine-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        Write("CAM_VL.ini",
              "[Branch_Type]\nMaxBranchTypeNum=3\n0=\"Alpha\" \"alpha.ini\"\n"
              "1=\"Beta\" \"beta.ini\"\n2=\"Gamma\" \"\"\n"
              "[Model_Info_Command]\nCommandID=0x90\nCharLength=16\n"
              "[Model_Info_DB]\nALPHA-1=0\nBETA-1=1\nGAMMA-1=2\n");
        Write("Command.ini", "[GetLEDState]\nCommandID=0x8F\nBytes=1\n");
        Write("alpha.ini", Model("alpha.mdb", "Block A", 0x50));
        Write("beta.ini", Model("beta.mdb", "Block B", 0x51));
    }
    ~ScratchConfig() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchConfig(const ScratchConfig&) = delete;
    ScratchConfig& operator=(const ScratchConfig&) = delete;

    std::string Path() const { return path_.string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name) << text;
    }

  private:
    static std::string Model(const std::string& menu, const std::string& block, int command) {
        return "[Overview]\nMenuDB=" + menu +
               "\nMaxTxUnitBits=8\nTapsNum=1\nMaxBlockInfoNum=1\n0=Blk \"" + block +
               "\"\n[Blk]\nMaxRowInfoNum=1\n0=Row \"Mode\"\n[Row]\nCommandID=" +
               std::to_string(command) +
               "\nEnableRW=TRUE\nEnableList=TRUE\nListNum=2\n0=0 \"Off\"\n1=1 \"On\"\n";
    }
    std::filesystem::path path_;
};

// A document on the scripted camera, connected to slot 7 (COM2) unless a test changes it.
class EngineFixture {
  public:
    explicit EngineFixture(std::string startupDirectory = VELTERRA_CONFIG_DIR)
        : registry(PortRegistry::Private()), doc(std::move(startupDirectory)), view(doc) {
        registry->WriteTags();
        doc.SetPortRegistry(registry.get());
        doc.SetProtocol(camera.Api());
        doc.SetUserInterface(&ui);
        doc.PortIndex = 7;
    }

    ScriptedCamera camera;
    RecordingUi ui;
    std::unique_ptr<PortRegistry> registry;
    CVelterraDoc doc;
    RecordingView view;
};

}  // namespace enginetest
