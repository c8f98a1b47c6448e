#pragma once

#include <QLabel>

// A picture box: shows a picture from its top-left corner. The picture is decoded only when
// the box is first shown, so a hidden box costs nothing.
class PictureBox : public QLabel
{
    Q_OBJECT
public:
    PictureBox(QWidget *parent, const QString &resource);
    QString resource() const { return m_resource; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_resource;
    bool m_loaded = false;
};
