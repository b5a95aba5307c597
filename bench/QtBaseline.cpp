#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

// One label that shows the time, repainted once a second: what a minimal Qt program costs at rest.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label;
    label.setWindowTitle(QStringLiteral("Qt baseline"));
    label.setMinimumSize(200, 40);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label,
                     [&label] { label.setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); });
    timer.start(1000);
    label.show();
    return app.exec();
}
