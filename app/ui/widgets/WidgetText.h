#pragma once
#include <QString>
#include <QWidget>

namespace velterra {

// The system's fixed texts are UTF-8 C strings; the widgets take QString.
inline QString Text(const char* text) {
    return QString::fromUtf8(text);
}

// Names a control by its dialog-template id, so tests and screenshots find it by that id.
template <class Widget>
Widget* Named(Widget* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

}  // namespace velterra
