#include "WebPage.h"

#include "Services.h"
#include "Shell.h"

void OpenWebPage(const QString& address)
{
    QString url = address;
    if (!url.contains(QLatin1String("://")))
        url.prepend(QStringLiteral("http://"));
    Services::shell().open(url);
}
