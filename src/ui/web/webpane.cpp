// Chooses the pane of this build.
#include "web/webpane.h"

#include "web/webconfig.h"

#if VELTRANO_WEBENGINE
#include "web/enginepane.h"
#else
#include "web/placeholderpane.h"
#endif

WebPane *WebPane::create(QWidget *parent)
{
#if VELTRANO_WEBENGINE
    return new EnginePane(parent);
#else
    return new PlaceholderPane(parent);
#endif
}
