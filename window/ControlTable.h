#pragma once

// The window's controls as data: one row a control, in the order they are created (later
// rows lie above earlier ones). Places are in twips (left, top, width, height); colours are
// red, green and blue from 0 to 255. Building the window is a loop over these rows.

#include "Tavola.h"

#include <QLine>

#include <span>
#include <variant>

namespace controls {

struct Rgb {
    int red = -1, green = 0, blue = 0; // red < 0: none (transparent, or the default colour)
    bool isValid() const { return red >= 0; }
    QColor toColor() const { return QColor(red, green, blue); }
};

struct Font {
    const char *face = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

struct Cursor {
    const char *picture = nullptr; // a resource; none: the parent's cursor
    int hotX = 0, hotY = 0;
};

struct Twips {
    int left = 0, top = 0, width = 0, height = 0;
};

// Element `index` of the control array Line1.
struct LineOf {
    int index;
};

// The member a row creates: its type is the control's kind.
using Member = std::variant<Label * Tavola::*, QLineEdit * Tavola::*, AnswerBox * Tavola::*,
                            PictureButton * Tavola::*, QPushButton * Tavola::*,
                            PictureBox * Tavola::*, QLabel * Tavola::*, LineOf>;

struct Control {
    const char *name;
    Member member;
    const char *caption = "";
    Twips place = {};
    Font font = {};
    Rgb text = {};
    Rgb background = {};
    bool border = false;
    bool centred = false;
    bool fitsText = false; // the label grows or shrinks with its caption
    bool hidden = false;
    bool disabled = false;
    const char *toolTip = nullptr;
    Cursor cursor = {};
    // A picture box's or image's picture; a graphical button's face and its disabled and
    // pressed looks.
    const char *picture = nullptr;
    const char *pictureDisabled = nullptr;
    const char *picturePressed = nullptr;
    // A line's two ends, in twips, and its width in pixels.
    QLine line = {};
    int lineWidth = 0;
    // For a screen reader: a name where the control shows none, what the control is or does.
    const char *accessibleName = nullptr;
    const char *accessibleDescription = nullptr;
};

std::span<const Control> tavola();

} // namespace controls
