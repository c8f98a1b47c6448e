#pragma once

#include "Tavola.h"

// The window's working fields as the fraction engine sees them.
class Tavola::Fields : public engine::WorkingFields
{
public:
    explicit Fields(Tavola &window) : w(window) {}

    QLineEdit *box(engine::Box b) const
    {
        switch (b) {
        case engine::Box::Text1:
            return w.Text1;
        case engine::Box::Text2:
            return w.Text2;
        case engine::Box::Text5:
            return w.Text5;
        case engine::Box::Text6:
            return w.Text6;
        case engine::Box::Text9:
            return w.Text9;
        case engine::Box::Text10:
            break;
        }
        return w.Text10;
    }
    QString boxText(engine::Box b) const override { return box(b)->text(); }
    void setBoxText(engine::Box b, const QString &text) override { box(b)->setText(text); }
    qint32 &numeratore() override { return w.numeratore; }
    qint32 &denominatore() override { return w.denominatore; }
    void setAnswerEnabled(bool enabled) override { w.txtAnswer->setEnabled(enabled); }
    void setNextEnabled(bool enabled) override { w.cmdNext->setEnabled(enabled); }

private:
    Tavola &w;
};
