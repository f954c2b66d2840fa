#include "GameStyle.h"

#include "Fonts.h"
#include "KestrelObjects/TFancyButton.h"

void Colour(QWidget* w, const QColor& background, const QColor& text) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, text);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

TFancyButton* GreenDialogButton(QWidget* parent, int x) {
    auto* b = new TFancyButton(parent);
    b->setGeometry(x, 4, 114, 34);
    b->setFont(ButtonFont());
    b->SetFontColor(MakeColor(0, 191, 0));
    b->SetFrameDarkest(MakeColor(0, 64, 0));
    b->SetFrameDark(MakeColor(0, 192, 0));
    b->SetFrameLight(MakeColor(0, 192, 0));
    b->SetFrameLightest(MakeColor(0, 255, 0));
    b->SetGradColor1(MakeColor(0, 128, 0));
    b->SetGradColor2(MakeColor(0, 64, 0));
    b->SetGradient(true);
    return b;
}
