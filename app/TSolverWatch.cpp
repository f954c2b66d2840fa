#include "TSolverWatch.h"

#include "engine/TwGame.h"

#include <QMetaObject>

std::optional<Solver::Position> PositionOf(const TGame& game) {
    Solver::Description description;
    for (int pocket = 0; pocket < HomeCount; ++pocket)
        if (const TCard* top = game.GameArray[size_t(pocket)])
            description.Pockets[size_t(pocket)] = top->Index;
    for (int column = 0; column < ColumnCountMax; ++column)
        for (int row = 0; row < RowCountMax && game.Cell(column, row); ++row)
            description.Columns[size_t(column)].emplace_back(game.Cell(column, row)->Index,
                                                             game.Cell(column, row)->FaceUp);
    return Solver::Position::FromDescription(description);
}

TSolverWatch::TSolverWatch(Solver::Budget searchBudget, QObject* parent)
    : QObject(parent), budget(searchBudget), worker([this] { Work(); }) {}

TSolverWatch::~TSolverWatch() {
    {
        std::lock_guard guard(lock);
        closing = true;
        pending.reset();
        cancel = true;
    }
    wake.notify_one();
    worker.join();
}

void TSolverWatch::Watch(const Solver::Position& position) {
    ++generation;
    // The next move of the known line: the rest of the line still wins.
    if (answer.State == TSolverState::Winnable && !answer.Moves.empty() && judged) {
        Solver::Position next = *judged;
        if (next.Apply(answer.Moves.front()) && next.Describe() == position.Describe()) {
            TSolverAnswer rest = answer;
            rest.Moves.erase(rest.Moves.begin());
            judged = position;
            {
                std::lock_guard guard(lock);
                pending.reset();
                cancel = true;
            }
            SetAnswer(std::move(rest));
            return;
        }
    }
    judged = position;
    {
        std::lock_guard guard(lock);
        pending = Job{generation, position};
        cancel = true;
    }
    wake.notify_one();
    SetAnswer({TSolverState::Searching, {}, {}});
}

void TSolverWatch::Forget() {
    ++generation;
    judged.reset();
    {
        std::lock_guard guard(lock);
        pending.reset();
        cancel = true;
    }
    SetAnswer({});
}

void TSolverWatch::Work() {
    for (;;) {
        Job job{0, Solver::Position()};
        {
            std::unique_lock guard(lock);
            wake.wait(guard, [this] { return closing || pending; });
            if (closing)
                return;
            job = std::move(*pending);
            pending.reset();
            cancel = false;
        }
        const Solver::Result result = Solver::Solve(job.Position, budget, &cancel);
        if (result.Answer == Solver::Verdict::Cancelled)
            continue;
        // Back on the window's thread; dropped there when a newer position has come meanwhile,
        // and by Qt when this object is gone.
        QMetaObject::invokeMethod(
            this, [this, generation = job.Generation, result] { Answered(generation, result); }, Qt::QueuedConnection);
    }
}

void TSolverWatch::Answered(uint64_t answeredGeneration, const Solver::Result& result) {
    if (answeredGeneration != generation)
        return;
    switch (result.Answer) {
    case Solver::Verdict::Winnable: SetAnswer({TSolverState::Winnable, result.Moves, {}}); break;
    case Solver::Verdict::Lost: SetAnswer({TSolverState::Lost, {}, result.Reason}); break;
    case Solver::Verdict::Undecided: SetAnswer({TSolverState::TooHard, {}, {}}); break;
    case Solver::Verdict::Cancelled: break;
    }
}

void TSolverWatch::SetAnswer(TSolverAnswer next) {
    answer = std::move(next);
    emit Changed();
}
