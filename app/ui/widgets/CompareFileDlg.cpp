#include "CompareFileDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>
#include <string>

#include "ExchangeProgress.h"
#include "core/FormatText.h"
#include "core/VelterraDoc.h"
#include "ui/CompareTexts.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

namespace {

QString Joined(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) list << QString::fromStdString(name);
    return list.join(QStringLiteral(", "));
}

}  // namespace

void CompareFile::WithProgress(QWidget* parent, const char* label, const Work& work) {
    RunWithExchangeProgress(parent, Text(CompareText::kDialogTitle), Text(label),
                            Text(CompareText::kStop), work);
}

CCompareFileDlg::CCompareFileDlg(CVelterraDoc& doc, const SettingsCompare::Comparison& comparison,
                                 QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      comparison_(comparison),
      list_(new QTreeWidget(this)),
      writeButton_(new QPushButton(Text(CompareText::kWriteButton), this)) {
    using Outcome = SettingsCompare::Comparison::Outcome;
    setWindowTitle(Text(CompareText::kDialogTitle));
    auto* layout = new QVBoxLayout(this);
    const std::string summary =
        FormatText(CompareText::kSummary, comparison.fileName.c_str(),
                   comparison.cameraModel.c_str(), doc.PortName().c_str(),
                   static_cast<int>(comparison.differences.size()), comparison.compared);
    layout->addWidget(new QLabel(QString::fromStdString(summary), this));
    if (comparison.outcome == Outcome::kCancelled) {
        layout->addWidget(new QLabel(Text(CompareText::kStopped), this));
    }
    const struct {
        const char* text;
        const std::vector<std::string>& names;
    } notes[] = {{CompareText::kUnreadable, comparison.unreadable},
                 {CompareText::kNotInFile, comparison.notInFile}};
    for (const auto& note : notes) {
        if (note.names.empty()) continue;
        auto* label = new QLabel(
            QString::fromStdString(FormatText(note.text, Joined(note.names).toStdString().c_str())),
            this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    list_->setColumnCount(3);
    list_->setHeaderLabels({Text(CompareText::kParameterColumn), Text(CompareText::kFileColumn),
                            Text(CompareText::kCameraColumn)});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    for (const SettingsCompare::Difference& d : comparison.differences) {
        auto* item = new QTreeWidgetItem(
            list_, {QString::fromStdString(d.blockName + "/" + d.parameterName),
                    QString::fromStdString(d.fileValue), QString::fromStdString(d.cameraValue)});
        item->setCheckState(0, d.writable ? Qt::Checked : Qt::Unchecked);
        if (!d.writable) item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    }
    for (int column = 0; column < 3; ++column) list_->resizeColumnToContents(column);
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(writeButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(CompareText::kCloseButton), QDialogButtonBox::RejectRole);
    connect(writeButton_, &QPushButton::clicked, this, &CCompareFileDlg::WriteChecked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemChanged, this,
            [this] { writeButton_->setEnabled(!Checked().empty()); });
    writeButton_->setEnabled(!Checked().empty());
    layout->addWidget(buttons);
    resize(640, 420);
}

std::vector<std::size_t> CCompareFileDlg::Checked() const {
    std::vector<std::size_t> checked;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->topLevelItem(i)->checkState(0) == Qt::Checked) {
            checked.push_back(static_cast<std::size_t>(i));
        }
    }
    return checked;
}

void CCompareFileDlg::WriteChecked() {
    const std::vector<std::size_t> chosen = Checked();
    if (chosen.empty()) return;
    CompareFile::WithProgress(
        this, CompareText::kWriting, [&](const SettingsCompare::Progress& progress) {
            written_ = SettingsCompare::WriteDifferences(doc_, comparison_, chosen, progress);
        });
    accept();
}

}  // namespace velterra
