// The controls of the window Tavola, in the order they are created.
#include "ControlTable.h"

namespace controls {

namespace {

constexpr Rgb cyan{0, 255, 255};
constexpr Rgb lightCyan{128, 255, 255};
constexpr Rgb red{255, 0, 0};
constexpr Rgb green{0, 192, 0};
constexpr Rgb darkGreen{0, 128, 0};
constexpr Rgb brightGreen{0, 255, 0};
constexpr Rgb blue{0, 0, 255};
constexpr Rgb yellow{255, 255, 0};

constexpr Font sans18{.points = 18};
constexpr Font arial48{.face = "Arial", .points = 48, .bold = true};
constexpr Font times36{.face = "Times New Roman", .points = 36, .bold = true};
constexpr Font button{.bold = true};

constexpr Cursor iconPointer{":/cursors/icona.png", 16, 16};

const Control table[] = {
    {.name = "Picture2", .member = &Tavola::Picture2, .place = {13200, 2280, 255, 495},
     .hidden = true, .picture = ":/pictures/piramide.bmp"},
    {.name = "Picture1", .member = &Tavola::Picture1, .place = {480, 5160, 9615, 255},
     .picture = ":/pictures/striscia.gif", .accessibleName = "Striscia colorata",
     .accessibleDescription = "Immagine decorativa"},
    {.name = "text3", .member = &Tavola::text3, .caption = "2", .place = {8160, 1440, 1815, 1155},
     .font = arial48, .background = cyan, .accessibleName = "Denominatore",
     .accessibleDescription = "Scrivi il denominatore, poi premi Invio"},
    {.name = "Text10", .member = &Tavola::Text10, .place = {8160, 2400, 975, 735}, .hidden = true},
    {.name = "Text9", .member = &Tavola::Text9, .place = {8160, 1680, 855, 495}, .hidden = true},
    {.name = "Text6", .member = &Tavola::Text6, .caption = "6", .place = {5520, 2760, 1095, 495},
     .hidden = true},
    {.name = "Text5", .member = &Tavola::Text5, .caption = "5", .place = {5640, 1920, 1095, 615},
     .hidden = true},
    {.name = "Text2", .member = &Tavola::Text2, .caption = "2", .place = {3840, 2520, 975, 615},
     .hidden = true},
    {.name = "Text1", .member = &Tavola::Text1, .caption = "1", .place = {3960, 1920, 975, 495},
     .hidden = true},
    {.name = "Text4", .member = &Tavola::Text4, .caption = "Text4 ex txt2",
     .place = {1080, 6000, 2535, 735}, .hidden = true},
    {.name = "txtAnswer", .member = &Tavola::txtAnswer, .caption = "10",
     .place = {8160, 0, 1815, 1200}, .font = arial48, .background = cyan,
     .toolTip = "Inserisci il risultato e  premi il tasto  Invio", .accessibleName = "Numeratore",
     .accessibleDescription = "Scrivi il numeratore, poi premi Invio"},
    {.name = "cmdNext", .member = &Tavola::cmdNext, .caption = "&Nuovo calcolo",
     .place = {4320, 5520, 1815, 1095}, .font = button, .background = {0, 192, 192},
     .disabled = true, .toolTip = "Go", .cursor = iconPointer,
     .picture = ":/pictures/faccina.png", .pictureDisabled = ":/pictures/faccina-seria.png",
     .picturePressed = ":/pictures/faccina-rossa.png",
     .accessibleDescription = "Un nuovo numero da scrivere come frazione"},
    {.name = "cmdExit", .member = &Tavola::cmdExit, .caption = "E&xit",
     .place = {7920, 5520, 1815, 1095}, .font = button, .background = {255, 128, 0},
     .toolTip = "Allora ti arrendi?", .cursor = {":/cursors/omino.png", 3, 3},
     .picture = ":/pictures/divieto.png",
     .accessibleDescription = "Esci: termina la gara e registra il punteggio"},
    {.name = "Command1", .member = &Tavola::Command1, .caption = "Command1",
     .place = {4800, 5640, 855, 615},
     .accessibleDescription = "Prepara la soluzione: la calcola senza mostrarla"},
    {.name = "classe", .member = &Tavola::classe, .caption = "Label2",
     .place = {5760, 7680, 1215, 375}, .hidden = true},
    {.name = "Lbltime", .member = &Tavola::Lbltime, .caption = "Label2",
     .place = {960, 6960, 1335, 255}, .hidden = true},
    {.name = "Image1", .member = &Tavola::Image1, .place = {2040, 3600, 2625, 1620},
     .picture = ":/pictures/pinguini.gif", .accessibleName = "Pinguini",
     .accessibleDescription = "Immagine decorativa"},
    {.name = "Line1", .member = LineOf{3}, .line = {8160, 1320, 9960, 1320}, .lineWidth = 8,
     .accessibleName = "Linea di frazione"},
    {.name = "Line1", .member = LineOf{2}, .hidden = true, .line = {8040, 2280, 9360, 2280},
     .lineWidth = 6},
    {.name = "Line1", .member = LineOf{1}, .hidden = true, .line = {5400, 2640, 6720, 2640},
     .lineWidth = 6},
    {.name = "Line1", .member = LineOf{0}, .hidden = true, .line = {3840, 2520, 5160, 2520},
     .lineWidth = 6},
    {.name = "lblnome", .member = &Tavola::lblnome, .place = {2520, 7200, 3735, 495},
     .font = sans18, .text = cyan, .cursor = {":/cursors/nota.png", 0, 0},
     .accessibleDescription = "Nome di chi detiene il record"},
    {.name = "Label12", .member = &Tavola::Label12, .caption = "Il record  è di ",
     .place = {120, 7200, 2295, 375}, .font = sans18, .text = cyan,
     .accessibleDescription = "Record della gara"},
    {.name = "lblpunti", .member = &Tavola::lblpunti, .caption = "0",
     .place = {9360, 7080, 270, 555}, .font = {.points = 24}, .text = brightGreen,
     .fitsText = true, .accessibleDescription = "Punti del record"},
    {.name = "Label13", .member = &Tavola::Label13, .caption = "con punti",
     .place = {7560, 7200, 1455, 435}, .font = sans18, .text = cyan, .fitsText = true,
     .accessibleDescription = "Record della gara"},
    {.name = "lblnome1", .member = &Tavola::lblnome1, .place = {240, 6720, 165, 420},
     .font = {.points = 13.5, .bold = true}, .text = darkGreen, .border = true, .fitsText = true,
     .accessibleDescription = "Il nome dello sfidante"},
    {.name = "Label14", .member = &Tavola::Label14, .caption = "Sfidante",
     .place = {240, 5880, 1095, 420}, .font = {.points = 13.5}, .text = darkGreen, .border = true,
     .centred = true, .fitsText = true, .accessibleDescription = "Chi sfida il record"},
    {.name = "Label11", .member = &Tavola::Label11, .caption = "Tempo restante",
     .place = {240, 1680, 1575, 375}, .font = {.points = 9.75}, .text = yellow,
     .accessibleDescription = "Titolo dell'orologio della gara"},
    {.name = "lblconto", .member = &Tavola::lblconto, .caption = "00.00.00",
     .place = {360, 2400, 1575, 495}, .font = {.face = "Arial Black", .points = 12, .bold = true},
     .text = yellow, .border = true,
     .accessibleDescription = "Tempo restante della gara, in ore, minuti e secondi"},
    {.name = "Label3", .member = &Tavola::Label3, .caption = "Risposte totali",
     .place = {7440, 3360, 2340, 495}, .font = sans18, .text = blue, .border = true,
     .fitsText = true, .accessibleDescription = "Titolo del contatore delle risposte totali"},
    {.name = "Label1", .member = &Tavola::Label1, .caption = "Risposte errate",
     .place = {3840, 3360, 2520, 495}, .font = sans18, .text = red, .border = true,
     .fitsText = true, .accessibleDescription = "Titolo del contatore delle risposte errate"},
    {.name = "lblScore2", .member = &Tavola::lblScore2, .caption = "0",
     .place = {8310, 4080, 555, 885}, .font = times36, .text = blue, .border = true,
     .centred = true, .fitsText = true, .accessibleDescription = "Risposte totali"},
    {.name = "lblScore1", .member = &Tavola::lblScore1, .caption = "0",
     .place = {4830, 4080, 540, 885}, .font = times36, .text = red, .border = true,
     .centred = true, .fitsText = true, .accessibleDescription = "Risposte errate"},
    {.name = "lblNum2", .member = &Tavola::lblNum2, .place = {3000, 1800, 345, 1185},
     .font = arial48, .background = cyan, .border = true, .centred = true, .fitsText = true,
     .hidden = true},
    {.name = "Label4", .member = &Tavola::Label4, .caption = "=", .place = {5280, 240, 615, 975},
     .font = arial48, .background = lightCyan, .centred = true, .accessibleDescription = "uguale"},
    {.name = "lblNum1", .member = &Tavola::lblNum1, .caption = "1,5",
     .place = {1080, 120, 1425, 1185}, .font = arial48, .background = cyan, .border = true,
     .centred = true, .fitsText = true,
     .accessibleDescription = "Numero decimale da scrivere come frazione"},
    {.name = "lblScore", .member = &Tavola::lblScore, .caption = "0",
     .place = {1080, 4080, 555, 885}, .font = times36, .border = true, .centred = true,
     .fitsText = true, .toolTip = "Questo è il tuo punteggio. Forza con il  record",
     .accessibleDescription = "Risposte esatte"},
    {.name = "lblMessage", .member = &Tavola::lblMessage, .place = {1200, 1800, 6615, 615},
     .font = {.points = 24, .bold = true, .italic = true}, .text = red, .centred = true,
     .cursor = iconPointer, .accessibleDescription = "Esito della risposta"},
    {.name = "Label6", .member = &Tavola::Label6, .caption = "Risposte esatte",
     .place = {240, 3360, 2565, 495}, .font = sans18, .text = green, .border = true,
     .centred = true, .fitsText = true,
     .accessibleDescription = "Titolo del contatore delle risposte esatte"},
};

} // namespace

std::span<const Control> tavola()
{
    return table;
}

} // namespace controls
