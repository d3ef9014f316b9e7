#pragma once

#include <QString>

class QWidget;

namespace tallivo {

// The Save dialog: shows itself modally with suggested as the name and filter as the kind of
// file, and returns the chosen file name, or an empty name when the user cancels. Choosing a
// file that exists is confirmed in the dialog itself before it returns. Tests hand the code a
// scripted one.
class SaveFileDialog {
public:
    virtual ~SaveFileDialog() = default;
    virtual QString GetSaveFileName(QWidget* parent, const QString& suggested,
                                    const QString& filter) = 0;
};

// The platform's own Save dialog, which asks before a file is replaced.
class QtSaveFileDialog : public SaveFileDialog {
public:
    QString GetSaveFileName(QWidget* parent, const QString& suggested,
                            const QString& filter) override;
};

} // namespace tallivo
