// The baseline of bench/startup: about the lightest Qt Widgets program of the game's size.
// A name prompt first, then a 932 × 653 window with a menu bar, 40 absolutely placed labels,
// line edits and buttons, and a clock label updated by a one-second timer. No pictures, no
// translations, no custom fonts or colours.
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minimal"));

    bool ok = false;
    const QString name =
        QInputDialog::getText(nullptr, QStringLiteral("minimal"), QStringLiteral("Come ti chiami?"),
                              QLineEdit::Normal, QString(), &ok);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    QMenuBar *bar = window.menuBar();
    for (const char *title : {"Uno", "Due", "Tre"})
        bar->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Voce"));
    bar->addAction(QStringLiteral("Aiuto"));
    bar->addAction(QStringLiteral("Nuova"));

    auto *central = new QWidget;
    central->setFixedSize(932, 653);
    QLabel *clock = nullptr;
    // 24 labels, 8 line edits, 8 buttons on a grid.
    for (int i = 0; i < 40; ++i) {
        const QRect place(20 + (i % 5) * 180, 20 + (i / 5) * 78, 160, 60);
        QWidget *control = nullptr;
        if (i % 5 == 1)
            control = new QLineEdit(QString::number(i), central);
        else if (i % 5 == 3)
            control = new QPushButton(QStringLiteral("Bottone %1").arg(i), central);
        else
            control = new QLabel(i == 0 ? name : QStringLiteral("Etichetta %1").arg(i), central);
        control->setGeometry(place);
        if (i == 2) clock = static_cast<QLabel *>(control);
    }
    window.setCentralWidget(central);

    int seconds = 900;
    QTimer timer;
    timer.setInterval(1000);
    QObject::connect(&timer, &QTimer::timeout, &window, [&] {
        --seconds;
        clock->setText(QStringLiteral("00:%1:%2")
                           .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                           .arg(seconds % 60, 2, 10, QLatin1Char('0')));
    });
    timer.start();
    window.show();
    return QApplication::exec();
}
