// The window's own plumbing: creation, event routing, handlers run guarded, ending.
#include "Tavola.h"
#include "TavolaFields.h"

#include <QCloseEvent>
#include <QLayout>

Tavola::Tavola(platform::Services &services, const QString &dataDirectory, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_dataDirectoryOverride(dataDirectory)
{
    setObjectName(QStringLiteral("Tavola"));
    setWindowTitle(QStringLiteral("Converti i seguenti numeri decimali in frazioni "));
    // The window keeps the size it was laid out for; it can be minimised, not stretched.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    createControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Tavola::~Tavola() = default;

void Tavola::connectHandlers()
{
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1_Timer(); }); });
    connect(cmdNext, &QToolButton::clicked, this, [this] { guarded([this] { cmdNext_Click(); }); });
    connect(Command1, &QPushButton::clicked, this,
            [this] { guarded([this] { Command1_Click(); }); });
    connect(cmdExit, &QToolButton::clicked, this, [this] { guarded([this] { cmdExit_Click(); }); });
    connect(txtAnswer, &AnswerBox::keyPress, this,
            [this](qint16 &key) { guarded([this, &key] { txtAnswer_KeyPress(key); }); });
    connect(text3, &AnswerBox::keyPress, this,
            [this](qint16 &key) { guarded([this, &key] { text3_KeyPress(key); }); });
    connect(clas, &QAction::triggered, this,
            [this] { guarded([this] { clas_Click(qint16(clas->property("index").toInt())); }); });
    connect(mnuVersione, &QAction::triggered, this, [this] { guarded([this] { showAbout(); }); });
    connect(HELP, &QAction::triggered, this, [this] { guarded([this] { HELP_Click(); }); });
    connect(Next, &QAction::triggered, this, [this] { guarded([this] { Next_Click(); }); });
}

void Tavola::guarded(const std::function<void()> &handler)
{
    if (m_ended) return;
    try {
        handler();
    } catch (const std::exception &error) {
        if (m_ended) return;
        m_ended = true;
        if (Timer1) Timer1->stop();
        platform::reportFatalError(m_services, error);
    }
}

void Tavola::endProgram()
{
    m_ended = true;
    if (Timer1) Timer1->stop();
    m_services.endProgram();
}

void Tavola::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_activatePending) {
        m_activatePending = false;
        guarded([this] {
            Form_Resize();
            Form_Activate();
        });
    }
}

void Tavola::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible())
        guarded([this] { Form_Resize(); });
}

void Tavola::closeEvent(QCloseEvent *event)
{
    // Closing from the title bar ends the program and writes nothing.
    event->accept();
    endProgram();
}
