// Building the window: its controls from the control table, and its menu bar.
#include "ControlTable.h"
#include "solfira/Version.h"

#include <QMenuBar>

namespace {

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

QColor colourOf(const controls::Rgb &rgb)
{
    return rgb.isValid() ? rgb.toColor() : QColor();
}

QFont fontOf(const controls::Font &font)
{
    return layoutFont(QLatin1String(font.face), font.points, font.bold, font.italic);
}

QString textOf(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QRect placeOf(const controls::Twips &t)
{
    return twipsRect(t.left, t.top, t.width, t.height);
}

// Creates the control of one row, of the kind its member says, with what only that kind has.
struct Builder {
    QWidget *parent;
    const controls::Control &row;

    // Names and places a new control, in the row's font.
    template <typename W> W *placed(W *control) const
    {
        control->setObjectName(QLatin1String(row.name));
        control->setGeometry(placeOf(row.place));
        control->setFont(fontOf(row.font));
        return control;
    }

    QWidget *operator()(Label *Tavola::*) const
    {
        auto *label = placed(new Label(parent));
        setColours(label, colourOf(row.text), colourOf(row.background));
        if (row.border) {
            label->setFrameShape(QFrame::Box);
            label->setLineWidth(1);
        }
        label->setAlignment((row.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        label->setCaption(textOf(row.caption));
        // Set after the first caption: the label keeps its laid-out size until its text changes.
        label->setFitsText(row.fitsText);
        return label;
    }
    QWidget *operator()(QLineEdit *Tavola::*) const
    {
        return placed(new QLineEdit(textOf(row.caption), parent));
    }
    QWidget *operator()(AnswerBox *Tavola::*) const
    {
        auto *box = new AnswerBox(parent);
        box->setText(textOf(row.caption));
        placed(box)->setAlignment(Qt::AlignCenter);
        setColours(box, colourOf(row.text), colourOf(row.background));
        return box;
    }
    QWidget *operator()(PictureButton *Tavola::*) const
    {
        auto *button = new PictureButton(parent);
        button->setText(textOf(row.caption));
        placed(button)->setBackground(colourOf(row.background));
        button->setPictures(textOf(row.picture), textOf(row.pictureDisabled),
                            textOf(row.picturePressed));
        return button;
    }
    QWidget *operator()(QPushButton *Tavola::*) const
    {
        return placed(new QPushButton(textOf(row.caption), parent));
    }
    QWidget *operator()(PictureBox *Tavola::*) const
    {
        return placed(new PictureBox(parent, textOf(row.picture)));
    }
    QWidget *operator()(QLabel *Tavola::*) const
    {
        auto *image = placed(new QLabel(parent));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setPixmap(QPixmap(textOf(row.picture)));
        return image;
    }
    QWidget *operator()(controls::LineOf of) const
    {
        auto *line = new LineShape(parent, row.line.p1() / 15, row.line.p2() / 15, row.lineWidth,
                                   QColor(255, 0, 0));
        line->setObjectName(QLatin1String(row.name));
        line->setProperty("index", of.index);
        return line;
    }
};

} // namespace

void Tavola::createControls()
{
    m_surface = new Surface;
    m_surface->setObjectName(QStringLiteral("surface"));
    m_surface->setFixedSize(932, 653);
    m_surface->setCursor(QCursor(QPixmap(QStringLiteral(":/cursors/mano.png")), 1, 1));
    QWidget *w = m_surface;

    for (const controls::Control &row : controls::tavola()) {
        QWidget *control = std::visit(Builder{w, row}, row.member);
        std::visit(
            [this, control](auto member) {
                using Member = decltype(member);
                if constexpr (std::is_same_v<Member, controls::LineOf>)
                    Line1[size_t(member.index)] = static_cast<LineShape *>(control);
                else
                    this->*member = static_cast<
                        std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>> *>(
                        control);
            },
            row.member);
        if (row.toolTip) control->setToolTip(textOf(row.toolTip));
        if (row.cursor.picture)
            control->setCursor(
                QCursor(QPixmap(textOf(row.cursor.picture)), row.cursor.hotX, row.cursor.hotY));
        if (row.disabled) control->setEnabled(false);
        if (row.hidden) {
            control->hide();
            // The working fields and the solution never take the focus.
            control->setFocusPolicy(Qt::NoFocus);
        }
        if (row.accessibleName) control->setAccessibleName(textOf(row.accessibleName));
        if (row.accessibleDescription)
            control->setAccessibleDescription(textOf(row.accessibleDescription));
    }

    // The few things that are not a control's own look.
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Timer1 = new QTimer(w);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setTimerType(Qt::CoarseTimer);
    Timer1->start();
    // Enter on the focused button clicks it; it is never the window's default button.
    Command1->setAutoDefault(true);
    // The new-question button shows its face over the small button inside it (it lies just
    // above Command1, below the controls made after it); Command1 is still reached with Tab.
    cmdNext->stackUnder(classe);

    // Keyboard focus: cmdExit, cmdNext, txtAnswer, Command1, text3, Picture1, then round again.
    for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (qobject_cast<QLabel *>(child) && child != Picture1) child->setFocusPolicy(Qt::NoFocus);
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
    mnuVersione = mnuAutori->addAction(QStringLiteral("Solfira versione ") +
                                       QLatin1String(solfira::VersionText));
    mnuVersione->setObjectName(QStringLiteral("mnuVersione"));

    mnuSegnalazioni = bar->addMenu(QStringLiteral("Segnalazioni"));
    mnuSegnalazioni->setObjectName(QStringLiteral("mnuSegnalazioni"));
    mnuSegnala = mnuSegnalazioni->addAction(
        QStringLiteral("Contattare gli autori per segnalare eventuali errori"));
    mnuSegnala->setObjectName(QStringLiteral("mnuSegnala"));

    HELP = bar->addAction(QStringLiteral("AIUTO"));
    HELP->setObjectName(QStringLiteral("HELP"));
    Next = bar->addAction(QStringLiteral("NUOVA GARA"));
    Next->setObjectName(QStringLiteral("Next"));
    setMenuBar(bar);
}
