#pragma once

#include "AnswerBox.h"
#include "Label.h"
#include "LayoutUnits.h"
#include "LineShape.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "Surface.h"
#include "engine/Engine.h"
#include "platform/Services.h"
#include "records/DataDirectory.h"
#include "records/FolderLock.h"

#include <QMainWindow>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <functional>

class QAction;
class QMenu;

// The game's one window. Its controls double as the game's state: the end of a game reads
// the captions of the record, score, name, class, clock and date labels.
class Tavola : public QMainWindow
{
    Q_OBJECT
public:
    // `dataDirectory` overrides where the records and class logs are kept (empty: the
    // default place).
    explicit Tavola(platform::Services &services, const QString &dataDirectory = QString(),
                    QWidget *parent = nullptr);
    ~Tavola() override;

    // Starts a competition: runs the load handler, then shows the window (which sets the
    // caption and poses the first question).
    void start();
    // True once the program has been ended (in production the process is gone by then).
    bool hasEnded() const { return m_ended; }

    // ---- Form variables -----------------------------------------------------------------
    qint16 esatte = 0;     // correct answers in this competition
    qint16 errate = 0;     // wrong answers in this competition
    qint32 numeratore = 0; // the current question's solution, reduced
    qint32 denominatore = 0;
    qint16 ore = 0; // time left: hours, minutes, seconds within the minute
    qint16 minuti = 0;
    float secondi = 0;
    qint16 restanti = 0; // total seconds left
    QString cartella;    // the data directory
    QString nomeClasse;  // the class typed at the class prompt
    QString fileClasse;  // the class read back for the class log's name
    QString riga;        // the last line written to a class log

    // ---- Controls (created in this order) ------------------------------------------------
    PictureBox *Picture2 = nullptr;
    PictureBox *Picture1 = nullptr;
    AnswerBox *text3 = nullptr;
    QLineEdit *Text10 = nullptr;
    QLineEdit *Text9 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text4 = nullptr;
    QTimer *Timer1 = nullptr;
    AnswerBox *txtAnswer = nullptr;
    PictureButton *cmdNext = nullptr;
    PictureButton *cmdExit = nullptr;
    QPushButton *Command1 = nullptr;
    Label *classe = nullptr;
    Label *Lbltime = nullptr;
    QLabel *Image1 = nullptr;
    std::array<LineShape *, 4> Line1{};
    Label *lblnome = nullptr;
    Label *Label12 = nullptr;
    Label *lblpunti = nullptr;
    Label *Label13 = nullptr;
    Label *lblnome1 = nullptr;
    Label *Label14 = nullptr;
    Label *Label11 = nullptr;
    Label *lblconto = nullptr;
    Label *Label3 = nullptr;
    Label *Label1 = nullptr;
    Label *lblScore2 = nullptr;
    Label *lblScore1 = nullptr;
    Label *lblNum2 = nullptr;
    Label *Label4 = nullptr;
    Label *lblNum1 = nullptr;
    Label *lblScore = nullptr;
    Label *lblMessage = nullptr;
    Label *Label6 = nullptr;
    // Menu bar: three credit menus, then two commands on the bar itself.
    QMenu *mnuSolfira = nullptr;
    QAction *mnuInfo = nullptr;
    QAction *clas = nullptr; // a one-element array: its element has index 2
    QMenu *mnuAutori = nullptr;
    QAction *mnuVersione = nullptr;
    QMenu *mnuSegnalazioni = nullptr;
    QAction *mnuSegnala = nullptr;
    QAction *HELP = nullptr;
    QAction *Next = nullptr;

    Surface *surface() const { return m_surface; }

    // ---- Handlers and procedures ---------------------------------------------------------
    // Start and menu commands
    void Form_Load();
    void clas_Click(qint16 Index);
    void HELP_Click();
    void showAbout();
    void Next_Click();
    // Questions
    void Form_Activate();
    void cmdNext_Click();
    // Answers
    void txtAnswer_KeyPress(qint16 &KeyAscii);
    void text3_KeyPress(qint16 &KeyAscii);
    void Command1_Click();
    QString Numeroafrazione(const double &Valoredoppio, const qint16 &DigitateRt);
    // Countdown
    void AvviaCronometro();
    void Timer1_Timer();
    void Form_Resize();
    void TempoNelTitolo();
    // End of game
    void cmdExit_Click();
    records::DataDirectory GetSystemDir(); // the data directory of this run, and how it was found

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class Fields;

    void createControls();
    void createMenu();
    void connectHandlers();
    // Accessible names and descriptions, and the announcements of changing texts.
    void describeForScreenReaders();
    // Sets a box's text without telling screen readers of the change.
    void setTextUnannounced(QLineEdit *box, const QString &text);
    void reload();
    // Runs a handler; an error that escapes it is reported and ends the program.
    void guarded(const std::function<void()> &handler);
    void endProgram();

    void computeSolution();
    void judgeAnswer();
    void paintGradient(double value);
    QString clockText() const;
    void advanceClock();

    platform::Services &m_services;
    QString m_dataDirectoryOverride;
    Surface *m_surface = nullptr;
    std::unique_ptr<Fields> m_fields;
    bool m_ended = false;
    bool m_activatePending = false;
    bool m_exitQuestionOpen = false;  // the exit question (till its end) or time-over box is open
    bool m_resultStored = false;      // the game's line is in its class log: nothing more to ask
    bool m_recordStored = false;      // a failed end of this game had already stored its record
    records::LockWatch m_lockWatch;   // what the Exit tries saw of another copy's lock
    bool m_solutionCurrent = false;   // the solution was computed for the question on screen
    bool m_firstQuestionTold = false; // the challenger and the record told with a question
    bool m_questionJudged = false;    // the question on screen has been judged
};
