#pragma once
#include <QDialog>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/SettingsCompare.h"

class QPushButton;
class QTreeWidget;

namespace velterra {

class CVelterraDoc;

// "Compare with VLT File": the differences of a comparison, each with the file's and the
// camera's value and a check box (checked at first; off and greyed when the file's value names
// nothing to write). Writing sends the checked ones through the parameter engine with progress
// and closes the dialog.
class CCompareFileDlg : public QDialog {
    Q_OBJECT

  public:
    CCompareFileDlg(CVelterraDoc& doc, const SettingsCompare::Comparison& comparison,
                    QWidget* parent = nullptr);

    // Indices into the comparison's differences whose box is checked.
    std::vector<std::size_t> Checked() const;
    const SettingsCompare::WriteReport& LastWrite() const { return written_; }

    QTreeWidget* List() const { return list_; }
    QPushButton* WriteButton() const { return writeButton_; }

  private:
    void WriteChecked();

    CVelterraDoc& doc_;
    const SettingsCompare::Comparison& comparison_;
    SettingsCompare::WriteReport written_;
    QTreeWidget* list_;
    QPushButton* writeButton_;
};

namespace CompareFile {

// Runs a long part of the comparison under the window's exchange progress, which offers to
// stop; the work gets the callback to report through.
using Work = std::function<void(const SettingsCompare::Progress&)>;
void WithProgress(QWidget* parent, const char* label, const Work& work);

}  // namespace CompareFile

}  // namespace velterra
