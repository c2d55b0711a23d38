// The short Russian page a pane shows when its page can't be loaded.
#pragma once

#include <QString>
#include <QUrl>

/// "Страница недоступна", the address and a link that loads it again; an HTML document.
QString FailurePageHtml(const QUrl &url);
