// A window for the harness's own test: a known colour, a line to type into; Enter prints the
// line on standard output.
#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("probe"));
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setGeometry(40, 30, 300, 200);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(200, 40, 30));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    QLineEdit line(&window);
    line.setGeometry(10, 10, 200, 24);
    QObject::connect(&line, &QLineEdit::returnPressed, [&] {
        std::printf("typed: %s\n", line.text().toUtf8().constData());
        std::fflush(stdout);
    });
    window.show();
    return app.exec();
}
