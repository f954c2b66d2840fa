// cardart: draws every picture Tarnwell carries.
//
//   cardart <deck.svgz> <outdir>            write pictures/<name>.png (what the game carries)
//   cardart --cards <deck.svgz> <outdir>    also cards/<id>.png: both card sets as the game draws them
//   cardart --sheet <outdir> <sheet.png>    contact sheet of everything written to <outdir>
//   cardart --zoom <in.png> <out.png> <factor> [x y w h]   enlarged crop, for close looks
//   cardart --strip <out.png> <factor> <in.png>...          pictures side by side, enlarged
//   cardart --check <outdir>                every picture present, at its exact size
#include "catalogue.h"
#include "sheet.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>

namespace {

int usage() {
    std::fputs("usage: cardart [--cards] <deck.svgz> <outdir>\n"
               "       cardart --sheet <outdir> <sheet.png>\n"
               "       cardart --zoom <in.png> <out.png> <factor> [x y w h]\n"
               "       cardart --strip <out.png> <factor> <in.png>...\n"
               "       cardart --check <outdir>\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc,
                        argv); // fonts and the SVG renderer need one; run with QT_QPA_PLATFORM=offscreen
    QStringList args = QGuiApplication::arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == "--sheet") return cardart::writeContactSheet(args[1], args[2]);
        if (args.size() >= 4 && args[0] == "--zoom") return cardart::writeZoom(args.mid(1));
        if (args.size() >= 4 && args[0] == "--strip") return cardart::writeStrip(args.mid(1));
        if (args.size() == 2 && args[0] == "--check") return cardart::checkPictures(args[1]);
        const bool withCards = !args.isEmpty() && args[0] == "--cards";
        if (withCards) args.removeFirst();
        if (args.size() != 2 || args[0].startsWith("--")) return usage();
        cardart::writeAllPictures(args[0], args[1], withCards);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cardart: %s\n", error.what());
        return 1;
    }
    return 0;
}
