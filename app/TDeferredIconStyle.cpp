#include "TDeferredIconStyle.h"

#include <QIconEngine>
#include <QPointer>

#include <functional>
#include <utility>

namespace {
// An icon made by its maker the first time it is drawn or measured.
class TDeferredIconEngine : public QIconEngine {
public:
    explicit TDeferredIconEngine(std::function<QIcon()> maker) : make(std::move(maker)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    // The style's own pictures are always there; asking must not read them.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("TDeferredIconEngine"); }
    QIconEngine* clone() const override { return new TDeferredIconEngine(*this); }

private:
    const QIcon& Icon() {
        if (make) {
            icon = make();
            make = nullptr;
        }
        return icon;
    }

    std::function<QIcon()> make;
    QIcon icon;
};
} // namespace

QIcon TDeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                       const QWidget* widget) const {
    if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    // Read from the base style when first drawn (nothing, should that style be gone by then),
    // pointing the way the application's text runs at that moment.
    return QIcon(new TDeferredIconEngine([base = QPointer<QStyle>(baseStyle()), which] {
        return base ? base->standardIcon(which) : QIcon();
    }));
}
