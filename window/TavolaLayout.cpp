// The window's controls, menu bar and event bindings, as the window is created.
#include "Tavola.h"
#include "TavolaFields.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

namespace {

const QColor cyan(0, 255, 255);
const QColor lightCyan(128, 255, 255);
const QColor red(255, 0, 0);
const QColor green(0, 192, 0);
const QColor darkGreen(0, 128, 0);
const QColor brightGreen(0, 255, 0);
const QColor blue(0, 0, 255);
const QColor yellow(255, 255, 0);

void setColours(QWidget *w, const QColor &text, const QColor &background = QColor())
{
    QPalette p = w->palette();
    if (text.isValid()) {
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::Text, text);
    }
    if (background.isValid()) {
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::Base, background);
        w->setAutoFillBackground(true);
    }
    w->setPalette(p);
}

struct LabelSpec {
    const char *name;
    const char *caption;
    QRect place;
    QFont font;
    QColor text;
    QColor background; // invalid: transparent
    bool border;
    bool centred;
    bool fitsText;
};

Label *makeLabel(QWidget *parent, const LabelSpec &s)
{
    auto *label = new Label(parent);
    label->setObjectName(QLatin1String(s.name));
    label->setGeometry(s.place);
    label->setFont(s.font);
    setColours(label, s.text, s.background);
    if (s.border) {
        label->setFrameShape(QFrame::Box);
        label->setLineWidth(1);
    }
    label->setAlignment((s.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setCaption(QString::fromUtf8(s.caption));
    label->setFitsText(s.fitsText);
    return label;
}

QLineEdit *makeHiddenBox(QWidget *parent, const char *name, const char *text, QRect place)
{
    auto *box = new QLineEdit(QString::fromUtf8(text), parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    box->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    box->hide();
    return box;
}

AnswerBox *makeAnswerBox(QWidget *parent, const char *name, const char *text, QRect place)
{
    auto *box = new AnswerBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setText(QString::fromUtf8(text));
    box->setGeometry(place);
    box->setFont(layoutFont(QStringLiteral("Arial"), 48, true));
    box->setAlignment(Qt::AlignCenter);
    setColours(box, QColor(), cyan);
    return box;
}

} // namespace

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

void Tavola::createControls()
{
    m_surface = new Surface;
    m_surface->setObjectName(QStringLiteral("surface"));
    m_surface->setFixedSize(932, 653);
    m_surface->setCursor(QCursor(QPixmap(QStringLiteral(":/cursors/mano.png")), 1, 1));
    QWidget *w = m_surface;
    const QString sans = QStringLiteral("MS Sans Serif");

    Picture2 = new PictureBox(w, QStringLiteral(":/pictures/piramide.bmp"));
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(twipsRect(13200, 2280, 255, 495));
    Picture2->hide();

    Picture1 = new PictureBox(w, QStringLiteral(":/pictures/striscia.gif"));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(480, 5160, 9615, 255));
    Picture1->setFocusPolicy(Qt::StrongFocus);

    text3 = makeAnswerBox(w, "text3", "2", twipsRect(8160, 1440, 1815, 1155));
    Text10 = makeHiddenBox(w, "Text10", "", twipsRect(8160, 2400, 975, 735));
    Text9 = makeHiddenBox(w, "Text9", "", twipsRect(8160, 1680, 855, 495));
    Text6 = makeHiddenBox(w, "Text6", "6", twipsRect(5520, 2760, 1095, 495));
    Text5 = makeHiddenBox(w, "Text5", "5", twipsRect(5640, 1920, 1095, 615));
    Text2 = makeHiddenBox(w, "Text2", "2", twipsRect(3840, 2520, 975, 615));
    Text1 = makeHiddenBox(w, "Text1", "1", twipsRect(3960, 1920, 975, 495));
    Text4 = makeHiddenBox(w, "Text4", "Text4 ex txt2", twipsRect(1080, 6000, 2535, 735));

    Timer1 = new QTimer(w);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setTimerType(Qt::CoarseTimer);
    Timer1->start();

    txtAnswer = makeAnswerBox(w, "txtAnswer", "10", twipsRect(8160, 0, 1815, 1200));
    txtAnswer->setToolTip(QStringLiteral("Inserisci il risultato e  premi il tasto  Invio"));

    cmdNext = new PictureButton(w);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdNext->setText(QStringLiteral("&Nuovo calcolo"));
    cmdNext->setGeometry(twipsRect(4320, 5520, 1815, 1095));
    cmdNext->setFont(layoutFont(sans, 8.25, true));
    cmdNext->setBackground(QColor(0, 192, 192));
    cmdNext->setPictures(QStringLiteral(":/pictures/faccina.png"),
                         QStringLiteral(":/pictures/faccina-seria.png"),
                         QStringLiteral(":/pictures/faccina-rossa.png"));
    cmdNext->setToolTip(QStringLiteral("Go"));
    cmdNext->setCursor(QCursor(QPixmap(QStringLiteral(":/cursors/icona.png")), 16, 16));
    cmdNext->setEnabled(false);

    cmdExit = new PictureButton(w);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setText(QStringLiteral("E&xit"));
    cmdExit->setGeometry(twipsRect(7920, 5520, 1815, 1095));
    cmdExit->setFont(layoutFont(sans, 8.25, true));
    cmdExit->setBackground(QColor(255, 128, 0));
    cmdExit->setPictures(QStringLiteral(":/pictures/divieto.png"));
    cmdExit->setToolTip(QStringLiteral("Allora ti arrendi?"));
    cmdExit->setCursor(QCursor(QPixmap(QStringLiteral(":/cursors/omino.png")), 3, 3));

    Command1 = new QPushButton(QStringLiteral("Command1"), w);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(4800, 5640, 855, 615));
    Command1->setFont(layoutFont(sans, 8.25));
    // Enter on the focused button clicks it; it is never the window's default button.
    Command1->setAutoDefault(true);
    // The new-question button shows its face over the small button inside it; Command1 is
    // still reached with Tab.
    cmdNext->raise();

    const QFont plain = layoutFont(sans, 8.25);
    classe = makeLabel(w, {"classe", "Label2", twipsRect(5760, 7680, 1215, 375), plain, {}, {},
                           false, false, false});
    classe->hide();
    Lbltime = makeLabel(w, {"Lbltime", "Label2", twipsRect(960, 6960, 1335, 255), plain, {}, {},
                            false, false, false});
    Lbltime->hide();

    Image1 = new QLabel(w);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(2040, 3600, 2625, 1620));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap(QStringLiteral(":/pictures/pinguini.gif")));

    Line1[3] = new LineShape(w, QPoint(twips(8160), twips(1320)), QPoint(twips(9960), twips(1320)),
                             8, red);
    Line1[2] = new LineShape(w, QPoint(twips(8040), twips(2280)), QPoint(twips(9360), twips(2280)),
                             6, red);
    Line1[1] = new LineShape(w, QPoint(twips(5400), twips(2640)), QPoint(twips(6720), twips(2640)),
                             6, red);
    Line1[0] = new LineShape(w, QPoint(twips(3840), twips(2520)), QPoint(twips(5160), twips(2520)),
                             6, red);
    for (int i = 0; i < 4; ++i) {
        Line1[size_t(i)]->setObjectName(QStringLiteral("Line1"));
        Line1[size_t(i)]->setProperty("index", i);
        Line1[size_t(i)]->setVisible(i == 3);
    }

    const QFont sans18 = layoutFont(sans, 18);
    lblnome = makeLabel(w, {"lblnome", "", twipsRect(2520, 7200, 3735, 495), sans18, cyan, {},
                            false, false, false});
    lblnome->setCursor(QCursor(QPixmap(QStringLiteral(":/cursors/nota.png")), 0, 0));
    Label12 = makeLabel(w, {"Label12", "Il record  è di ", twipsRect(120, 7200, 2295, 375), sans18,
                            cyan, {}, false, false, false});
    lblpunti = makeLabel(w, {"lblpunti", "0", twipsRect(9360, 7080, 270, 555),
                             layoutFont(sans, 24), brightGreen, {}, false, false, true});
    Label13 = makeLabel(w, {"Label13", "con punti", twipsRect(7560, 7200, 1455, 435), sans18, cyan,
                            {}, false, false, true});
    lblnome1 = makeLabel(w, {"lblnome1", "", twipsRect(240, 6720, 165, 420),
                             layoutFont(sans, 13.5, true), darkGreen, {}, true, false, true});
    Label14 = makeLabel(w, {"Label14", "Sfidante", twipsRect(240, 5880, 1095, 420),
                            layoutFont(sans, 13.5), darkGreen, {}, true, true, true});
    Label11 = makeLabel(w, {"Label11", "Tempo restante", twipsRect(240, 1680, 1575, 375),
                            layoutFont(sans, 9.75), yellow, {}, false, false, false});
    lblconto = makeLabel(w, {"lblconto", "00.00.00", twipsRect(360, 2400, 1575, 495),
                             layoutFont(QStringLiteral("Arial Black"), 12, true), yellow, {}, true,
                             false, false});
    Label3 = makeLabel(w, {"Label3", "Risposte totali", twipsRect(7440, 3360, 2340, 495), sans18,
                           blue, {}, true, false, true});
    Label1 = makeLabel(w, {"Label1", "Risposte errate", twipsRect(3840, 3360, 2520, 495), sans18,
                           red, {}, true, false, true});
    const QFont times = layoutFont(QStringLiteral("Times New Roman"), 36, true);
    lblScore2 = makeLabel(w, {"lblScore2", "0", twipsRect(8310, 4080, 555, 885), times, blue, {},
                              true, true, true});
    lblScore1 = makeLabel(w, {"lblScore1", "0", twipsRect(4830, 4080, 540, 885), times, red, {},
                              true, true, true});
    const QFont arial48 = layoutFont(QStringLiteral("Arial"), 48, true);
    lblNum2 = makeLabel(w, {"lblNum2", "", twipsRect(3000, 1800, 345, 1185), arial48, {}, cyan,
                            true, true, true});
    lblNum2->hide();
    Label4 = makeLabel(w, {"Label4", "=", twipsRect(5280, 240, 615, 975), arial48, {}, lightCyan,
                           false, true, false});
    lblNum1 = makeLabel(w, {"lblNum1", "1,5", twipsRect(1080, 120, 1425, 1185), arial48, {}, cyan,
                            true, true, true});
    lblScore = makeLabel(w, {"lblScore", "0", twipsRect(1080, 4080, 555, 885), times, {}, {}, true,
                             true, true});
    lblScore->setToolTip(QStringLiteral("Questo è il tuo punteggio. Forza con il  record"));
    lblMessage = makeLabel(w, {"lblMessage", "", twipsRect(1200, 1800, 6615, 615),
                               layoutFont(sans, 24, true, true), red, {}, false, true, false});
    lblMessage->setCursor(QCursor(QPixmap(QStringLiteral(":/cursors/icona.png")), 16, 16));
    Label6 = makeLabel(w, {"Label6", "Risposte esatte", twipsRect(240, 3360, 2565, 495), sans18,
                           green, {}, true, true, true});

    // Keyboard focus: cmdExit, cmdNext, txtAnswer, Command1, text3, Picture1, then round again.
    for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (qobject_cast<QLabel *>(child) && child != Picture1)
            child->setFocusPolicy(Qt::NoFocus);
    setTabOrder(cmdExit, cmdNext);
    setTabOrder(cmdNext, txtAnswer);
    setTabOrder(txtAnswer, Command1);
    setTabOrder(Command1, text3);
    setTabOrder(text3, Picture1);
    setTabOrder(Picture1, Text4);
    setTabOrder(Text4, Text1);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text5);
    setTabOrder(Text5, Text6);
    setTabOrder(Text6, Text9);
    setTabOrder(Text9, Text10);

    setCentralWidget(m_surface);
    createMenu();
    connectHandlers();
    describeForScreenReaders();
    cmdExit->setFocus();
}

void Tavola::createMenu()
{
    auto *bar = new QMenuBar;
    bar->setObjectName(QStringLiteral("menuBar"));
    // Credits are about Solfira itself.
    mnuSolfira = bar->addMenu(QStringLiteral("&Solfira"));
    mnuSolfira->setObjectName(QStringLiteral("mnuSolfira"));
    mnuInfo = mnuSolfira->addAction(QStringLiteral("Solfira: dai numeri decimali alle frazioni"));
    mnuInfo->setObjectName(QStringLiteral("mnuInfo"));
    clas = mnuSolfira->addAction(QStringLiteral("&Classe"));
    clas->setObjectName(QStringLiteral("clas"));
    clas->setProperty("index", 2);

    mnuAutori = bar->addMenu(QStringLiteral("Realizzato dagli autori di Solfira"));
    mnuAutori->setObjectName(QStringLiteral("mnuAutori"));
    mnuVersione = mnuAutori->addAction(QStringLiteral("Solfira versione 1.00.0006"));
    mnuVersione->setObjectName(QStringLiteral("mnuVersione"));

    mnuSegnalazioni = bar->addMenu(QStringLiteral("Segnalazioni"));
    mnuSegnalazioni->setObjectName(QStringLiteral("mnuSegnalazioni"));
    mnuSegnala =
        mnuSegnalazioni->addAction(QStringLiteral("Contattare gli autori per segnalare eventuali errori"));
    mnuSegnala->setObjectName(QStringLiteral("mnuSegnala"));

    HELP = bar->addAction(QStringLiteral("AIUTO"));
    HELP->setObjectName(QStringLiteral("HELP"));
    Next = bar->addAction(QStringLiteral("NUOVA GARA"));
    Next->setObjectName(QStringLiteral("Next"));
    setMenuBar(bar);
}

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
    connect(clas, &QAction::triggered, this, [this] {
        guarded([this] { clas_Click(qint16(clas->property("index").toInt())); });
    });
    connect(HELP, &QAction::triggered, this, [this] { guarded([this] { HELP_Click(); }); });
    connect(Next, &QAction::triggered, this, [this] { guarded([this] { Next_Click(); }); });
}

void Tavola::guarded(const std::function<void()> &handler)
{
    if (m_ended)
        return;
    try {
        handler();
    } catch (const std::exception &error) {
        if (m_ended)
            return;
        m_ended = true;
        if (Timer1)
            Timer1->stop();
        platform::reportFatalError(m_services, error);
    }
}

void Tavola::endProgram()
{
    m_ended = true;
    if (Timer1)
        Timer1->stop();
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
