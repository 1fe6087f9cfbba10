// The second yardstick: the bare window in the program's face, showing one
// line of Cyrillic text. Like any window with text it lays the line out before
// it is shown, so it starts the font database and loads the face before its
// window is mapped, as the program must; what the program costs beyond it is
// not the text.

#include "bare_window.h"

#include <QApplication>
#include <QPainter>
#include <QStaticText>

namespace {

class TextWindow : public BareWindow {
public:
    TextWindow() : m_text(QStringLiteral("Аминокиселини"))
    {
        QFont font(QStringLiteral("Times New Roman"), 12, QFont::Normal);
        font.setStyleHint(QFont::Serif);
        setFont(font);
        m_text.prepare(QTransform(), font);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QSizeF size = m_text.size();
        painter.drawStaticText(
            QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), m_text);
    }

private:
    QStaticText m_text;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TextWindow window;
    window.show();
    return app.exec();
}
