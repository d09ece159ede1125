// The yardstick for start-up: a bare Qt window program, started and closed
// the same way as `velmaris --quit-when-idle`.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Velmaris")));
    window.show();
    QTimer::singleShot(0, &window, &QWidget::close);
    return application.exec();
}
