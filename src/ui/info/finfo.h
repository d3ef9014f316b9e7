#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace tallivo {

// The information window: what the program is for, a disclaimer, and a link that opens the
// maker's web site. Shown modally and centred on its screen; only "Chiudi" takes the focus,
// and neither Enter nor Escape closes it.
class FInfo : public QDialog {
    Q_OBJECT

public:
    explicit FInfo(QWidget* parent = nullptr);

public slots:
    void cmdChiudi_Click();
    void lblWeb_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* cmdChiudi;
    std::array<QLabel*, 3> Label1;
    QLabel* lblWeb;
};

} // namespace tallivo
