#pragma once

#include <QString>

class QWidget;

namespace tallivo {

// The Open dialog: shows itself modally and returns the chosen file name, or an empty name
// when the user cancels. Tests hand the window a scripted one.
class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    virtual QString GetOpenFileName(QWidget* parent) = 0;
};

// The platform's own Open dialog, with no title, filter, folder or preset name; where the
// toolkit draws the dialog itself, its list never reads a file to show it.
class QtOpenFileDialog : public OpenFileDialog {
public:
    QString GetOpenFileName(QWidget* parent) override;
};

} // namespace tallivo
