// A bare Qt Widgets window with a list and a button: what Tallivo's start-up is measured against.

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(412, 403);
    auto* list = new QListWidget(&window);
    list->setGeometry(130, 272, 183, 121);
    auto* button = new QPushButton(QStringLiteral("Sfoglia"), &window);
    button->setGeometry(336, 298, 55, 25);
    window.show();
    return QApplication::exec();
}
