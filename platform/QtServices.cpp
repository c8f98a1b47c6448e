#include "QtServices.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QWindow>

#ifdef Q_OS_WIN
#include "WindowsCalls.h"
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace platform {

QtServices::QtServices()
{
    randomize();
}

NumberLocale QtServices::numberLocale() const
{
#ifdef Q_OS_WIN
    // The separator exactly as the user set it, even when it is not one character.
    return NumberLocale{QString::fromLocal8Bit(userDecimalSeparator().c_str())};
#else
    return NumberLocale::system();
#endif
}

// A box makes its parent window on the screen's side, hidden or not. Until the window itself
// has been shown, the boxes belong to a hidden stand-in of the window's size instead: they sit
// where they would over the window, yet the window is made only when it first appears. Under
// Windows making the first main window probes the graphics card (Direct3D), which under Wine
// starts a software OpenGL of some 60 MiB: before the name prompt, that doubled the memory.
QWidget *QtServices::dialogParent()
{
    if (!m_parent || m_parent->testAttribute(Qt::WA_WState_Created)) return m_parent;
    if (!m_standIn) m_standIn = std::make_unique<QWidget>(nullptr, Qt::Dialog);
    // Placed as the window would be: by the system unless the program placed it.
    m_standIn->resize(m_parent->size());
    if (m_parent->testAttribute(Qt::WA_Moved)) m_standIn->move(m_parent->pos());
    return m_standIn.get();
}

// Shows a box and waits for its answer. A box the system could not make would wait for an answer
// nobody can give: under Wine without a display every window fails, and the program used to go
// on unseen. It ends instead, as a Qt program does on Linux without a display.
static int answerOf(QDialog &box)
{
    box.winId(); // made on the screen's side now, as showing it would
    if (!box.windowHandle() || !box.windowHandle()->handle()) {
        std::fputs("solfira: impossibile aprire una finestra sullo schermo.\n", stderr);
        std::fflush(nullptr);
        std::_Exit(1);
    }
    return box.exec();
}

Answer QtServices::messageBox(const QString &prompt, Buttons buttons, const QString &title)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(title.isEmpty() ? programTitle() : title);
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::YesNoQuestion) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return answerOf(box) == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    answerOf(box);
    return Answer::Ok;
}

void QtServices::aboutBox(const QString &summary, const QString &licences)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(QStringLiteral("Informazioni su Solfira"));
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box.setText(summary);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(licences); // behind "Mostra dettagli..."
    box.setStandardButtons(QMessageBox::Ok);
    answerOf(box);
}

QString QtServices::inputBox(const QString &prompt, const QString &title)
{
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(title.isEmpty() ? programTitle() : title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    if (answerOf(dialog) != QDialog::Accepted) return QString();
    return dialog.textValue();
}

QString QtServices::todayShortDate() const
{
    return shortDateText(QDate::currentDate(), QLocale::system());
}

void QtServices::randomize()
{
    // The clock in nanoseconds, mixed with the current state, so that reseeding twice
    // within one clock tick still gives a fresh sequence.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanos =
        std::uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    m_generator.seed(nanos ^ m_generator());
}

double QtServices::rnd()
{
    // 53 random bits scaled into [0, 1): never 1.
    return double(m_generator() >> 11) * 0x1.0p-53;
}

void QtServices::beep()
{
    QApplication::beep();
}

void QtServices::endProgram()
{
    // Every file the program writes is closed by the time it ends; leave at once so that
    // no timer tick or other event is handled after the end of the game.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace platform
