// Saved games: the board, the board as dealt, the counters and the game time in an XML file.
#include "TwGame.h"

#include "KestrelObjects/AtomicFile.h"
#include "KestrelObjects/GameError.h"
#include "KestrelObjects/XMLDocLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <pugixml.hpp>

namespace {
// A saved game is a few kilobytes; anything near this is not one, and is not read into memory.
constexpr qint64 MaxGameFileBytes = 1024 * 1024;
// About 31 years of play; beyond it a game time is damage, and the clock's microsecond count
// must stay far from overflowing.
constexpr double MaxElapsedSeconds = 1e9;

const char* Bool(bool value) { return value ? "True" : "False"; }

// ---------------------------------------------------------------- writing

void WriteCard(const TCard* card, int column, int row, pugi::xml_node parent) {
    pugi::xml_node element = parent.append_child("Card");
    element.append_attribute("Column") = column;
    element.append_attribute("Row") = row;
    element.append_attribute("Valid") = Bool(card != nullptr);
    if (!card)
        return;
    element.append_attribute("Name") = card->Name.toUtf8().constData();
    element.append_attribute("Index") = card->Index;
    element.append_attribute("FaceUp") = Bool(card->FaceUp);
    element.append_attribute("DealFaceUp") = Bool(card->DealFaceUp);
}

// Every pocket, empty or not; then each column from row 0 down to its first empty row.
void WriteBoard(const TBoard& board, pugi::xml_node element) {
    const pugi::xml_node home = element.append_child("Home");
    for (int pocket = 0; pocket < HomeCount; ++pocket)
        WriteCard(board[size_t(pocket)], 0, pocket, home);
    const pugi::xml_node pile = element.append_child("Pile");
    for (int column = 0; column < ColumnCountMax; ++column)
        for (int row = 0; row < RowCountMax && board[size_t(PileSlot(column, row))]; ++row)
            WriteCard(board[size_t(PileSlot(column, row))], column, row, pile);
}

// One board of a kept game's undo or redo history as a line of text: the four pockets' top
// cards, then each column from its top; cards by Index, "-" for an empty pocket, a "d" after a
// card lying face down; the nine parts parted by "/": "12 - - 38/0 14d 3/.../".
void AppendStep(pugi::xml_node history, const BoardSnapshot& record) {
    QByteArray text;
    for (int pocket = 0; pocket < HomeCount; ++pocket) {
        const TCard* top = record.Home[size_t(pocket)];
        text += (pocket > 0 ? " " : "") + (top ? QByteArray::number(top->Index) : QByteArray("-"));
    }
    for (int column = 0; column < ColumnCountMax; ++column) {
        text += '/';
        for (int row = 0; row < RowCountMax; ++row) {
            const size_t cell = size_t(column * RowCountMax + row);
            if (!record.Pile[cell])
                break;
            text += (row > 0 ? " " : "") + QByteArray::number(record.Pile[cell]->Index) +
                    (record.FaceUp[cell] ? "" : "d");
        }
    }
    history.append_child("Step").text() = text.constData();
}

class ByteWriter : public pugi::xml_writer {
public:
    QByteArray Bytes;
    void write(const void* data, size_t size) override {
        Bytes.append(static_cast<const char*>(data), qsizetype(size));
    }
};

// ---------------------------------------------------------------- reading

// A board as the file describes it, by card Index (-1 for none), with the face of each card
// listed on it. Nothing of the game on the table is touched while one is read.
struct FileBoard {
    std::array<int, BoardSize> Slots;
    std::array<bool, DeckSize> FaceUp{};
    std::array<bool, DeckSize> DealFaceUp{};
    FileBoard() { Slots.fill(-1); }
};

struct FileGame {
    FileBoard Live;
    FileBoard Dealt;
    bool DealtGiven = false;
    bool CardCounterGiven = false;
    int32_t CardCounter = 52;
    int32_t MoveCount = 0;
    double ElapsedTime = 0;
    std::optional<uint32_t> DealNumber;
    // Kept only with the play of a game kept over the program's closing.
    std::optional<int32_t> UndoCount, HintCount;
    bool GamePlayed = false;
    // The undo records oldest first and the moves to redo, as the kept game left them; both
    // empty, with the reason, when they could not be taken up.
    std::vector<FileBoard> Undo, Redo;
    QString HistoryFault;
};

int RankOf(int index) { return TDeck::RankOf(index); }

int CardsHome(const FileBoard& board) {
    int home = 0;
    for (int pocket = 0; pocket < HomeCount; ++pocket)
        if (const int top = board.Slots[size_t(pocket)]; top >= 0)
            home += RankOf(top) + 1;
    return home;
}

// Reads and checks a whole document; every fault throws TGameError with the place it was found.
class GameReader {
public:
    explicit GameReader(const QByteArray& bytes) : data(bytes) {}

    // With play: also the undo and hint counts and whether a move was made, as a game kept over
    // the program's closing holds them.
    FileGame Read(bool withPlay) {
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_buffer(data.constData(), size_t(data.size()),
                                                                   pugi::parse_default, pugi::encoding_auto);
        if (!parsed && parsed.status == pugi::status_no_document_element && HoldsNoContent())
            throw TGameError(QStringLiteral("Empty Game File"));
        if (!parsed)
            throw TGameError(QStringLiteral("The file is not well-formed XML: %1 at offset %2")
                                 .arg(QString::fromUtf8(parsed.description()))
                                 .arg(parsed.offset));
        const pugi::xml_node root = document.document_element();
        if (!root)
            throw TGameError(QStringLiteral("Empty Game File"));

        FileGame game;
        for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const QString name = LocalName(child);
            if (name == QLatin1String("CardCounter")) {
                Named(child, [&] {
                    QString text;
                    game.CardCounterGiven = ReadTypedValue(child, QStringLiteral("Integer"), text);
                    game.CardCounter = game.CardCounterGiven ? StrToInt(text) : 52;
                });
            } else if (name == QLatin1String("MoveCount")) {
                Named(child, [&] { game.MoveCount = ReadInteger(child, 0); });
            } else if (name == QLatin1String("ElapsedTime")) {
                Named(child, [&] { game.ElapsedTime = ReadFloat(child, 0); });
            } else if (name == QLatin1String("DealNumber")) {
                Named(child, [&] { game.DealNumber = ReadDealNumber(child); });
            } else if (withPlay && name == QLatin1String("UndoCount")) {
                Named(child, [&] { game.UndoCount = ReadCount(child); });
            } else if (withPlay && name == QLatin1String("HintCount")) {
                Named(child, [&] { game.HintCount = ReadCount(child); });
            } else if (withPlay && name == QLatin1String("GamePlayed")) {
                Named(child, [&] { game.GamePlayed = ReadInteger(child, 0) != 0; });
            } else if (withPlay && name == QLatin1String("UndoHistory")) {
                undoHistory = child;
            } else if (withPlay && name == QLatin1String("RedoHistory")) {
                redoHistory = child;
            } else if (name == QLatin1String("Home")) {
                ReadHome(game.Live, child);
                game.Dealt = game.Live;
                game.DealtGiven = true;
            } else if (name == QLatin1String("Pile")) {
                ReadPile(game.Live, child);
                game.Dealt = game.Live;
                game.DealtGiven = true;
            } else if (name == QLatin1String("GameArray")) {
                ReadBoard(game.Live, child);
            } else if (name == QLatin1String("GameCopy")) {
                ReadBoard(game.Dealt, child);
                game.DealtGiven = true;
            }
        }
        // Without a deal of its own the file's board serves as the deal, so Restart returns to it.
        if (!game.DealtGiven)
            game.Dealt = game.Live;
        Check(game);
        // A history that does not read is left behind; the game itself is sound.
        try {
            game.Undo = ReadHistory(undoHistory);
            game.Redo = ReadHistory(redoHistory);
        } catch (const TGameError& e) {
            game.Undo.clear();
            game.Redo.clear();
            game.HistoryFault = e.Message();
        }
        return game;
    }

private:
    const QByteArray& data;
    pugi::xml_node undoHistory, redoHistory;

    // The steps of an undo or redo history, oldest first; none when the element is absent.
    std::vector<FileBoard> ReadHistory(pugi::xml_node history) const {
        std::vector<FileBoard> steps;
        for (pugi::xml_node step = history.first_child(); step; step = step.next_sibling()) {
            if (step.type() != pugi::node_element || LocalName(step) != QLatin1String("Step"))
                continue;
            if (steps.size() >= size_t(UndoRingSize - 1))
                Fail(history, QStringLiteral("more than %1 steps").arg(UndoRingSize - 1));
            Named(step, [&] { steps.push_back(ReadStep(QString::fromUtf8(step.text().get()))); });
        }
        return steps;
    }

    // A board written by AppendStep, checked as a saved board is.
    static FileBoard ReadStep(const QString& text) {
        const QStringList parts = text.split(QLatin1Char('/'));
        if (parts.size() != 1 + ColumnCountMax)
            throw TGameError(QStringLiteral("%1 parts where a board has %2").arg(parts.size()).arg(1 + ColumnCountMax));
        FileBoard board;
        const QStringList tops = parts[0].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (tops.size() != HomeCount)
            throw TGameError(QStringLiteral("%1 pockets where a board has %2").arg(tops.size()).arg(HomeCount));
        for (int pocket = 0; pocket < HomeCount; ++pocket)
            if (tops[pocket] != QLatin1String("-"))
                board.Slots[size_t(pocket)] = StepCard(tops[pocket], board);
        for (int column = 0; column < ColumnCountMax; ++column) {
            const QStringList cards = parts[1 + column].split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (cards.size() > RowCountMax)
                throw TGameError(QStringLiteral("column %1 holds %2 cards").arg(column).arg(cards.size()));
            for (int row = 0; row < int(cards.size()); ++row)
                board.Slots[size_t(PileSlot(column, row))] = StepCard(cards[row], board);
        }
        CheckBoard(board, QStringLiteral("the board"));
        return board;
    }

    // A card of a step, "12" or "12d" when it lies face down.
    static int StepCard(QString code, FileBoard& board) {
        const bool faceDown = code.endsWith(QLatin1Char('d'));
        if (faceDown)
            code.chop(1);
        bool ok = false;
        const int index = code.toInt(&ok, 10);
        if (!ok || index < 0 || index >= DeckSize)
            throw TGameError(QStringLiteral("'%1' is no card").arg(code.left(16)));
        board.FaceUp[size_t(index)] = !faceDown;
        return index;
    }

    // Nothing but blanks, or nothing but markup without an element (a declaration, comments);
    // text such as "hello" is not XML rather than empty.
    bool HoldsNoContent() const {
        QByteArray text = data;
        if (text.startsWith("\xEF\xBB\xBF"))
            text.remove(0, 3);
        if (text.trimmed().isEmpty())
            return true;
        pugi::xml_document probe;
        probe.load_buffer(data.constData(), size_t(data.size()), pugi::parse_full, pugi::encoding_auto);
        return bool(probe.first_child());
    }

    // "line 12" of an element, for messages about it.
    QString Where(pugi::xml_node node) const {
        const ptrdiff_t offset = node.offset_debug();
        if (offset < 0 || offset > data.size())
            return QStringLiteral("a %1 element").arg(LocalName(node));
        return QStringLiteral("the %1 on line %2")
            .arg(LocalName(node))
            .arg(data.left(qsizetype(offset)).count('\n') + 1);
    }

    [[noreturn]] void Fail(pugi::xml_node node, const QString& what) const {
        const QString where = Where(node);
        throw TGameError(where.left(1).toUpper() + where.mid(1) + QStringLiteral(": ") + what);
    }

    // A deal's number: a named integer from 0 to 4294967295; none when the element is empty.
    static std::optional<uint32_t> ReadDealNumber(pugi::xml_node node) {
        QString text;
        if (!ReadTypedValue(node, QStringLiteral("Integer"), text))
            return std::nullopt;
        bool ok = false;
        const qulonglong number = text.trimmed().toULongLong(&ok, 10);
        if (!ok || number > UINT32_MAX)
            throw TGameError(QStringLiteral("'%1' is not a deal number").arg(text.left(64)));
        return uint32_t(number);
    }

    // An undo or hint count: a named integer from 0 to the counters' limit.
    static std::optional<int32_t> ReadCount(pugi::xml_node node) {
        const int32_t count = ReadInteger(node, 0);
        if (count < 0 || count > MaxCount)
            throw TGameError(QStringLiteral("%1 is not a count").arg(count));
        return count;
    }

    // Reads a counter element; a failure names the element it was found in.
    template <class Read>
    void Named(pugi::xml_node node, Read read) const {
        try {
            read();
        } catch (const TGameError& e) {
            Fail(node, e.Message());
        }
    }

    QString Attribute(pugi::xml_node node, const char* name) const {
        const pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute)
            Fail(node, QStringLiteral("the attribute \"%1\" is missing").arg(QLatin1String(name)));
        return QString::fromUtf8(attribute.value());
    }

    int Integer(pugi::xml_node node, const char* name) const {
        const QString text = Attribute(node, name);
        try {
            return StrToInt(text);
        } catch (const TGameError& e) {
            Fail(node, QStringLiteral("\"%1\": %2").arg(QLatin1String(name), e.Message()));
        }
    }

    // "True" or "False" in any letter case, or an integer: 0 is false, anything else true.
    bool Boolean(pugi::xml_node node, const char* name) const {
        const QString text = Attribute(node, name);
        const QString t = text.trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const qlonglong value = t.toLongLong(&ok, 10);
        if (!ok)
            Fail(node, QStringLiteral("\"%1\": '%2' is not a valid boolean value")
                           .arg(QLatin1String(name), text.left(64)));
        return value != 0;
    }

    int InRange(pugi::xml_node node, const char* name, int last, const QString& what) const {
        const int value = Integer(node, name);
        if (value < 0 || value > last)
            Fail(node, QStringLiteral("\"%1\" %2 is no %3 (0..%4)")
                           .arg(QLatin1String(name))
                           .arg(value)
                           .arg(what)
                           .arg(last));
        return value;
    }

    void ReadCard(FileBoard& board, int slot, pugi::xml_node node) const {
        const int index = InRange(node, "Index", DeckSize - 1, QStringLiteral("card"));
        const bool faceUp = Boolean(node, "FaceUp");
        board.Slots[size_t(slot)] = index;
        board.FaceUp[size_t(index)] = faceUp;
        board.DealFaceUp[size_t(index)] = node.attribute("DealFaceUp") ? Boolean(node, "DealFaceUp") : faceUp;
    }

    // Every element under "Home" or "Pile" carries "Valid"; only valid "Card" elements are read.
    bool IsValidCard(pugi::xml_node node) const {
        const bool valid = Boolean(node, "Valid");
        return valid && LocalName(node) == QLatin1String("Card");
    }

    void ReadHome(FileBoard& board, pugi::xml_node element) const {
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || !IsValidCard(child))
                continue;
            const int pocket = InRange(child, "Row", HomeCount - 1, QStringLiteral("home pocket"));
            ReadCard(board, pocket, child);
        }
    }

    void ReadPile(FileBoard& board, pugi::xml_node element) const {
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || !IsValidCard(child))
                continue;
            const int column = InRange(child, "Column", ColumnCountMax - 1, QStringLiteral("pile column"));
            const int row = InRange(child, "Row", RowCountMax - 1, QStringLiteral("pile row"));
            ReadCard(board, PileSlot(column, row), child);
        }
    }

    void ReadBoard(FileBoard& board, pugi::xml_node element) const {
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const QString name = LocalName(child);
            if (name == QLatin1String("Home"))
                ReadHome(board, child);
            else if (name == QLatin1String("Pile"))
                ReadPile(board, child);
        }
    }

    // A position the game can be in: every card exactly once, in a pile cell or beneath a
    // pocket's top card, and no column with a hole in it.
    static void CheckBoard(const FileBoard& board, const QString& what) {
        std::array<bool, DeckSize> seen{};
        int cards = 0;
        auto place = [&](int index) {
            if (seen[size_t(index)])
                throw TGameError(
                    QStringLiteral("The card %1 lies twice on %2").arg(TDeck::CardName(index), what));
            seen[size_t(index)] = true;
            ++cards;
        };
        for (int pocket = 0; pocket < HomeCount; ++pocket)
            if (const int top = board.Slots[size_t(pocket)]; top >= 0)
                for (int index = top - RankOf(top); index <= top; ++index)
                    place(index);
        for (int column = 0; column < ColumnCountMax; ++column) {
            int firstEmpty = -1;
            for (int row = 0; row < RowCountMax; ++row) {
                const int index = board.Slots[size_t(PileSlot(column, row))];
                if (index < 0) {
                    if (firstEmpty < 0)
                        firstEmpty = row;
                    continue;
                }
                if (firstEmpty >= 0)
                    throw TGameError(
                        QStringLiteral("Column %1 of %2 has a gap: row %3 is empty but row %4 holds %5")
                            .arg(column)
                            .arg(what)
                            .arg(firstEmpty)
                            .arg(row)
                            .arg(TDeck::CardName(index)));
                place(index);
            }
        }
        if (cards == 0)
            throw TGameError(QStringLiteral("There are no cards on %1").arg(what));
        for (int index = 0; index < DeckSize; ++index)
            if (!seen[size_t(index)])
                throw TGameError(
                    QStringLiteral("The card %1 is missing from %2").arg(TDeck::CardName(index), what));
    }

    static void Check(FileGame& game) {
        CheckBoard(game.Live, QStringLiteral("the saved board"));
        CheckBoard(game.Dealt, QStringLiteral("the saved deal"));
        const int notHome = DeckSize - CardsHome(game.Live);
        if (!game.CardCounterGiven)
            game.CardCounter = notHome;
        else if (game.CardCounter != notHome)
            throw TGameError(
                QStringLiteral("\"CardCounter\" is %1, but %2 cards of the saved board are not home")
                    .arg(game.CardCounter)
                    .arg(notHome));
        if (game.MoveCount < 0 || game.MoveCount > MaxCount)
            throw TGameError(QStringLiteral("\"MoveCount\" %1 is not a count of moves").arg(game.MoveCount));
        if (!(game.ElapsedTime >= 0 && game.ElapsedTime <= MaxElapsedSeconds))
            throw TGameError(
                QStringLiteral("\"ElapsedTime\" %1 is not a game time").arg(FloatToStr(game.ElapsedTime)));
    }
};

QByteArray ReadGameFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw TGameError(QStringLiteral("Unable to open \"%1\": it is not a file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TGameError(QStringLiteral("Unable to open \"%1\": %2").arg(path, file.errorString()));
    const QString tooLarge = QStringLiteral("\"%1\" is not a saved game: it is larger than 1 MiB").arg(path);
    if (file.size() > MaxGameFileBytes)
        throw TGameError(tooLarge);
    // One byte beyond the limit tells a file that is too large; a file that grew since its size
    // was taken is read on up to that byte.
    QByteArray data = file.read(std::min(file.size(), MaxGameFileBytes) + 1);
    if (data.size() <= MaxGameFileBytes && !file.atEnd())
        data += file.read(MaxGameFileBytes + 1 - data.size());
    if (file.error() != QFileDevice::NoError)
        throw TGameError(QStringLiteral("Unable to read \"%1\": %2").arg(path, file.errorString()));
    if (data.size() > MaxGameFileBytes)
        throw TGameError(tooLarge);
    return data;
}
} // namespace

void TGame::SaveGameFile(const QString& path, TKeep keep) {
    // Half a deal is no game to keep: its file would lack the cards still on the deck.
    if (Dealing)
        throw TGameError(QStringLiteral("The game cannot be saved while the cards are dealt"));
    if (CelebrationRunning)
        throw TGameError(QStringLiteral("The game cannot be saved while the celebration runs"));
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("TarnwellXML");
    root.append_attribute("Tranwell") = "1.0";
    WriteBoard(GameArray, root.append_child("GameArray"));
    WriteBoard(GameCopy, root.append_child("GameCopy"));
    WriteNamedInteger(root, QStringLiteral("CardCounter"), CardCounter);
    WriteNamedInteger(root, QStringLiteral("MoveCount"), MoveCount);
    // Only read: saving does not stop the clock.
    WriteNamedFloat(root, QStringLiteral("ElapsedTime"), Host().GameTime().Time());
    // Beyond the saved-game format's own elements, which readers that do not know it skip.
    if (DealNumber) {
        pugi::xml_node number = root.append_child("DealNumber").append_child("Integer");
        number.text() = QByteArray::number(*DealNumber).constData();
    }
    if (keep == TKeep::GameAndPlay) {
        WriteNamedInteger(root, QStringLiteral("UndoCount"), UndoCount);
        WriteNamedInteger(root, QStringLiteral("HintCount"), HintCount);
        WriteNamedInteger(root, QStringLiteral("GamePlayed"), GamePlayed ? 1 : 0);
        const pugi::xml_node undo = root.append_child("UndoHistory");
        for (int i = 0; i < UndoRing.Count(); ++i)
            AppendStep(undo, UndoRing.Record(i));
        const pugi::xml_node redo = root.append_child("RedoHistory");
        for (const BoardSnapshot& step : RedoList)
            AppendStep(redo, step);
    }

    ByteWriter writer;
    document.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    // Written beside the target and renamed over it only once every byte is on the disk, so a
    // failed save leaves the old file whole.
    try {
        WriteFileAtomically(path, writer.Bytes);
    } catch (const TFileWriteError& e) {
        throw TGameError(QStringLiteral("Unable to save the game to \"%1\": %2").arg(path, e.Reason()));
    }
}

QString TGame::LoadGameFile(const QString& path, TKeep keep) {
    // Both run loops that let menu commands in; a board swapped beneath them would be wrecked.
    if (Dealing)
        throw TGameError(QStringLiteral("A saved game cannot be loaded while the cards are dealt"));
    if (CelebrationRunning)
        throw TGameError(QStringLiteral("A saved game cannot be loaded while the celebration runs"));

    if (!Deck || Deck->Count() < DeckSize)
        throw TGameError(QStringLiteral("A saved game cannot be loaded before the deck is made"));

    const QByteArray data = ReadGameFile(path);
    const FileGame file = GameReader(data).Read(keep == TKeep::GameAndPlay);

    // The file is sound: from here on nothing fails, and the game on the table is replaced.
    AbandonGame();
    ResetMoveProtocol();
    for (int slot = 0; slot < BoardSize; ++slot) {
        const int live = file.Live.Slots[size_t(slot)], dealt = file.Dealt.Slots[size_t(slot)];
        GameArray[size_t(slot)] = live >= 0 ? &Deck->Card(live) : nullptr;
        GameCopy[size_t(slot)] = dealt >= 0 ? &Deck->Card(dealt) : nullptr;
    }
    // Faces as the board lists them; the cards beneath a pocket's top card lie face up.
    auto setFaces = [this](const FileBoard& board, const std::array<bool, DeckSize>& faces, auto field) {
        for (int pocket = 0; pocket < HomeCount; ++pocket)
            if (const int top = board.Slots[size_t(pocket)]; top >= 0)
                for (int index = top - RankOf(top); index <= top; ++index)
                    Deck->Card(index).*field = index == top ? faces[size_t(index)] : true;
        for (int slot = HomeCount; slot < BoardSize; ++slot)
            if (const int index = board.Slots[size_t(slot)]; index >= 0)
                Deck->Card(index).*field = faces[size_t(index)];
    };
    setFaces(file.Live, file.Live.FaceUp, &TCard::FaceUp);
    setFaces(file.Dealt, file.Dealt.DealFaceUp, &TCard::DealFaceUp);
    CardCounter = file.CardCounter;
    MoveCount = file.MoveCount;
    DealNumber = file.DealNumber;
    Host().ShowDealNumber(DealNumber);
    if (keep == TKeep::GameAndPlay) {
        UndoCount = file.UndoCount.value_or(0);
        HintCount = file.HintCount.value_or(0);
        GamePlayed = file.GamePlayed;
    }

    Deck->SetAllVisible(true);
    GameActive = true;
    LayoutBoard();
    PaintBoard();
    UndoRing.Clear();
    RedoList.clear();
    // A kept game goes on with the undo and redo history it had; any other starts afresh.
    if (file.Undo.empty())
        TakeSnapshot();
    auto snapshotOf = [this](const FileBoard& board) {
        BoardSnapshot record;
        record.CardCounter = DeckSize - CardsHome(board);
        for (int slot = 0; slot < BoardSize; ++slot) {
            const int index = board.Slots[size_t(slot)];
            TCard* card = index >= 0 ? &Deck->Card(index) : nullptr;
            if (slot < HomeCount)
                record.Home[size_t(slot)] = card;
            else {
                record.Pile[size_t(slot - HomeCount)] = card;
                record.FaceUp[size_t(slot - HomeCount)] = card && board.FaceUp[size_t(index)];
            }
        }
        return record;
    };
    for (const FileBoard& step : file.Undo)
        UndoRing.Push() = snapshotOf(step);
    for (const FileBoard& step : file.Redo)
        RedoList.push_back(snapshotOf(step));
    FindMoves();
    GameState = TGameState::Playing;
    TStopwatch& clock = Host().GameTime();
    clock.SetTime(file.ElapsedTime);
    clock.Start();
    Host().SetDisplayTimer(true);
    ShowStatus();
    Host().PositionChanged();
    return file.HistoryFault;
}
