#pragma once

#include <QProxyStyle>

// The platform's own style, Qt's default or the one asked for, with one difference: the menu
// bar's overflow arrows, seen only when the window is too narrow for its menus, are read from
// their pictures when first drawn instead of when the menu bar is made. Qt reads them by
// offering the picture to every installed image plugin in turn, which loads them all: a few
// milliseconds of every start for a picture that is seldom seen.
class TDeferredIconStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
