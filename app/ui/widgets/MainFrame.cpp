#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace velterra {

namespace {

QMenu* AddPlaceholderMenu(QMenuBar* bar, const char* title) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    QAction* empty = menu->addAction(QStringLiteral("(Empty)"));
    empty->setData(CMainFrame::kIdEmptyPlaceholder);
    empty->setEnabled(false);
    return menu;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    QMenuBar* bar = menuBar();
    QMenu* program = bar->addMenu(QStringLiteral("&Program"));
    program->addAction(QStringLiteral("&Open Camera..."))->setData(32773);
    program->addSeparator();
    program->addAction(QStringLiteral("&Load VLT File..."))->setData(57601);
    program->addAction(QStringLiteral("&Save VLT File As..."))->setData(57604);
    program->addSeparator();
    QAction* exitAction = program->addAction(QStringLiteral("E&xit"));
    exitAction->setData(kIdExit);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    for (QAction* action : program->actions()) {
        const int id = action->data().toInt();
        if (id != kIdExit && !action->isSeparator()) action->setEnabled(false);
    }

    AddPlaceholderMenu(bar, "&Basic Commands");
    AddPlaceholderMenu(bar, "&Advanced Commands");
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    QAction* about = help->addAction(QStringLiteral("&About Velterra..."));
    about->setData(kIdAbout);
    connect(about, &QAction::triggered, this, &CMainFrame::OnAbout);
    help->addAction(QStringLiteral("About &Qt..."), qApp, &QApplication::aboutQt);
    AddPlaceholderMenu(bar, "Pass&word Commands");

    setWindowTitle(QStringLiteral("Untitled - Velterra"));
    resize(720, 540);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    event->accept();
}

void CMainFrame::OnAbout() {
    QMessageBox::about(this, QStringLiteral("About Velterra"),
                       QStringLiteral("<b>Velterra</b> %1<br>Configures industrial line-scan "
                                      "cameras over RS-232 and Camera Link serial ports.")
                           .arg(QApplication::applicationVersion()));
}

}  // namespace velterra
