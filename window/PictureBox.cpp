#include "PictureBox.h"

PictureBox::PictureBox(QWidget *parent, const QString &resource)
    : QLabel(parent), m_resource(resource)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        setPixmap(QPixmap(m_resource));
    }
    QLabel::showEvent(event);
}
