#include "ProgramCommands.h"

#include <QAction>
#include <QMenu>
#include <memory>

#include "CompareFileDlg.h"
#include "MainFrame.h"
#include "QtUserInterface.h"
#include "connect/widgets/OpenCameraDlg.h"
#include "core/FormatText.h"
#include "core/SettingsCompare.h"
#include "core/SettingsFile.h"
#include "core/SettingsTexts.h"
#include "core/UpdateHints.h"
#include "core/UserInterface.h"
#include "core/VelterraDoc.h"
#include "ui/CompareTexts.h"

namespace velterra {

namespace {

FileDialogRequest SettingsFileRequest() {
    return {std::string(SettingsText::kFilterName) + "|*" + SettingsText::kFileExtension + "||",
            SettingsText::kFileExtension};
}

// The port the next Open Camera dialog connects at once (--port), -1 none.
struct ForcedStart {
    int slot = -1;
    uint32_t baudRate = 0;
};

}  // namespace

void ProgramCommands::LoadPath(CMainFrame& frame, const std::string& path) {
    CVelterraDoc& doc = frame.Doc();
    SettingsFile::BeginLoad(doc);
    using Outcome = SettingsFile::LoadReport::Outcome;
    const Outcome outcome = SettingsFile::LoadFile(doc, path).outcome;
    // A file that is no settings file, or none at all, is not worth offering again.
    if (outcome != Outcome::kCannotOpen && outcome != Outcome::kWrongFormat) {
        frame.AddRecentFile(path);
    }
    frame.UpdateTitle();
}

void ProgramCommands::LoadWithDialog(CMainFrame& frame) {
    IUserInterface* ui = frame.Doc().UserInterface();
    if (ui == nullptr) return;
    if (const auto path = ui->AskOpenFileName(SettingsFileRequest())) LoadPath(frame, *path);
}

void ProgramCommands::SaveWithDialog(CMainFrame& frame) {
    CVelterraDoc& doc = frame.Doc();
    SettingsFile::BeginSaveAs(doc);
    IUserInterface* ui = doc.UserInterface();
    if (ui == nullptr) return;
    const auto path = ui->AskSaveFileName(SettingsFileRequest());
    if (path && SettingsFile::SaveFile(doc, *path)) frame.AddRecentFile(*path);
    frame.UpdateTitle();
}

void ProgramCommands::CompareWithDialog(CMainFrame& frame) {
    CVelterraDoc& doc = frame.Doc();
    doc.UpdateAllViews(UpdateHint::kFinishEditing);
    IUserInterface* ui = doc.UserInterface();
    if (ui == nullptr) return;
    const auto path = ui->AskOpenFileName(SettingsFileRequest());
    if (!path) return;
    using Outcome = SettingsCompare::Comparison::Outcome;
    SettingsCompare::Comparison comparison;
    CompareFile::WithProgress(
        &frame, CompareText::kReading, [&](const SettingsCompare::Progress& progress) {
            comparison = SettingsCompare::CompareWithFile(doc, *path, progress);
        });
    // Without a camera or with an unusable file a box has said why.
    if (comparison.outcome != Outcome::kCompared && comparison.outcome != Outcome::kCancelled) {
        return;
    }
    if (comparison.Same()) {
        ui->ShowMessage(FormatText(CompareText::kSame, comparison.fileName.c_str()),
                        MessageKind::Information);
        return;
    }
    CCompareFileDlg dialog(doc, comparison, &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    ui->ShowMessage(
        FormatText(CompareText::kWritten, dialog.LastWrite().written, dialog.LastWrite().failed),
        MessageKind::Information);
}

void InstallProgramCommands(CMainFrame& frame) {
    auto forced = std::make_shared<ForcedStart>();
    frame.Ui().SetOpenCameraDialog([&frame, forced](CVelterraDoc& doc) {
        const ForcedStart start = *forced;
        *forced = {};
        return COpenCameraDlg::Run(doc, &frame, start.slot, static_cast<int32_t>(start.baudRate));
    });
    frame.SetCommandHandler(CMainFrame::kIdLoadVlt,
                            [&frame] { ProgramCommands::LoadWithDialog(frame); });
    frame.SetCommandHandler(CMainFrame::kIdSaveVltAs,
                            [&frame] { ProgramCommands::SaveWithDialog(frame); });
    frame.SetCommandHandler(ProgramCommands::kIdCompareVlt,
                            [&frame] { ProgramCommands::CompareWithDialog(frame); });
    // The entry follows the two settings-file entries.
    QMenu* program = frame.ProgramMenu();
    const QList<QAction*> actions = program->actions();
    QAction* before = nullptr;
    for (int i = 0; i + 1 < actions.size(); ++i) {
        if (actions[i]->data().toInt() == CMainFrame::kIdSaveVltAs) before = actions[i + 1];
    }
    auto* compare = new QAction(QString::fromUtf8(CompareText::kMenuEntry), program);
    compare->setData(ProgramCommands::kIdCompareVlt);
    QObject::connect(compare, &QAction::triggered, &frame,
                     [&frame] { frame.RunCommand(ProgramCommands::kIdCompareVlt); });
    program->insertAction(before, compare);
    frame.SetOpenSettingsFileHandler(
        [&frame](const std::string& path) { ProgramCommands::LoadPath(frame, path); });
    frame.SetOpenPortHandler([&frame, forced](int slot, uint32_t baudRate) {
        *forced = {slot, baudRate};
        frame.RunCommand(CMainFrame::kIdOpenCamera);
        *forced = {};
    });
}

}  // namespace velterra
