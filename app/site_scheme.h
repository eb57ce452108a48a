#pragma once
// Embedded web views read the site folder through the program's own scheme.

class QWebEngineView;
class QWidget;

namespace tessaly {

// Must run before the application object is created.
void RegisterSiteScheme();

// A web view whose profile serves the site folder under the program's scheme.
// The web engine starts with the first one.
QWebEngineView* NewSiteView(QWidget* parent);

}  // namespace tessaly
