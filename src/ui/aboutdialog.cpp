// About window: a drawn candle picture and the program's text.
#include "aboutdialog.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QTextBrowser>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(564, 475);
    QFont tahoma(QStringLiteral("Tahoma"));
    setFont(tahoma);

    auto *image = new QLabel(this);
    image->setGeometry(8, 8, 209, 457);
    image->setPixmap(picture());

    auto *text = new QTextBrowser(this);
    text->setGeometry(223, 8, 331, 401);
    text->setFrameShape(QFrame::NoFrame);
    text->setOpenExternalLinks(true);
    QFont big = tahoma;
    big.setPixelSize(19);
    text->setFont(big);
    text->setBackgroundRole(QPalette::Window);
    text->setHtml(QStringLiteral(
        "<p><b>Veltrano V 1.0</b></p>"
        "<p>Анализ истории торгового счёта: сессии и кривая баланса, валютные пары, "
        "рабочие дни, риск и мани-менеджмент, исходы сделок.</p>"
        "<p>Импортируйте выписку закрытых ордеров (F2) и нажмите «Расчет» на нужной вкладке.</p>"
        "<p>Разработчики: команда Veltrano.<br>Вопросы и предложения: "
        "<a href=\"mailto:team@veltrano.app\">team@veltrano.app</a></p>"));
}

QPixmap AboutDialog::picture()
{
    QPixmap pixmap(209, 457);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 457);
    sky.setColorAt(0, QColor(12, 24, 48));
    sky.setColorAt(1, QColor(0, 90, 60));
    p.fillRect(pixmap.rect(), sky);
    // A short run of candles climbing from bottom left to top right.
    const double closes[] = {330, 318, 322, 300, 286, 295, 262, 248, 255, 221, 205, 212, 180};
    double previous = 340;
    for (int i = 0; i < 13; ++i) {
        const double x = 14 + i * 14.5;
        const double open = previous, close = closes[i];
        const bool up = close < open;
        const QColor body = up ? QColor(60, 220, 120) : QColor(230, 80, 80);
        p.setPen(QPen(body, 1.5));
        p.drawLine(QPointF(x + 4, std::min(open, close) - 10),
                   QPointF(x + 4, std::max(open, close) + 10));
        p.fillRect(QRectF(x, std::min(open, close), 8, std::max(2.0, std::fabs(close - open))),
                   body);
        previous = close;
    }
    p.setPen(QColor(240, 240, 240));
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 40, 209, 40), Qt::AlignCenter, QStringLiteral("Veltrano"));
    title.setPixelSize(14);
    title.setBold(false);
    p.setFont(title);
    p.drawText(QRect(0, 80, 209, 24), Qt::AlignCenter, QStringLiteral("V 1.0"));
    return pixmap;
}
