// Addresses from the build settings: the site's base address gives the two pane pages.
#include "web/siteaddresses.h"

#include "web/webconfig.h"

#include <QDir>
#include <QFileInfo>

SiteAddresses SiteAddresses::built(const QString &programDir)
{
    const QUrl site(QStringLiteral(VELTRANO_SITE_URL));
    SiteAddresses addresses;
    addresses.signalsPage = site.resolved(QUrl(QStringLiteral("tets_stat.html")));
    addresses.bannerPage = site.resolved(QUrl(QStringLiteral("reklam.html")));
    const QString manual = manualFile(programDir);
    addresses.helpPage = QFileInfo::exists(manual)
                             ? QUrl::fromLocalFile(manual)
                             : site.resolved(QUrl(QStringLiteral("help.html")));
    addresses.forumTopic = QUrl(QStringLiteral(VELTRANO_FORUM_TOPIC));
    return addresses;
}

QString SiteAddresses::manualFile(const QString &programDir)
{
    const QString folder = QDir(programDir).filePath(QStringLiteral(VELTRANO_MANUAL_FROM_BINDIR));
    return QDir::cleanPath(folder + QStringLiteral("/index.html"));
}
