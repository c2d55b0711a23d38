// The failure page: small enough for the 86-pixel banner strip.
#include "web/failurepage.h"

QString FailurePageHtml(const QUrl &url)
{
    const QString address = url.toString().toHtmlEscaped();
    return QStringLiteral(
               "<!DOCTYPE html><html lang=\"ru\"><head><meta charset=\"utf-8\">"
               "<title>Страница недоступна</title><style>"
               "body { font: 12px sans-serif; color: #333; background: #f4f4f4; margin: 8px; }"
               "h1 { font-size: 14px; margin: 0 0 4px; }"
               "p { margin: 0 0 4px; }"
               "</style></head><body>"
               "<h1>Страница недоступна</h1>"
               "<p>Не удалось загрузить <span id=\"address\">%1</span>.</p>"
               "<p><a id=\"retry\" href=\"%1\">Повторить</a></p>"
               "</body></html>")
        .arg(address);
}
