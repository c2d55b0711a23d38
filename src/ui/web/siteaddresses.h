// The four addresses of the web panes and the Help menu.
#pragma once

#include <QString>
#include <QUrl>

struct SiteAddresses {
    QUrl signalsPage; // pane wb1
    QUrl bannerPage;  // pane wb2
    QUrl helpPage;    // Help > "HELP", in the default browser
    QUrl forumTopic;  // Help > "Forum", in the default browser

    /// The addresses this program was built with; the help page is the manual installed with
    /// the program (looked up from `programDir`), or the site's help page when it is missing.
    static SiteAddresses built(const QString &programDir);
    /// The file of the manual that belongs to a program in `programDir`.
    static QString manualFile(const QString &programDir);
};
