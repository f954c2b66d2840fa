#pragma once

#include "solver/Solver.h"

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class TGame;

// What the solver says of the position on the table.
enum class TSolverState {
    Idle,      // no game to judge
    Searching, // the search for this position has not answered yet
    Winnable,  // with the cards as they lie; Moves wins from here
    Lost,      // whatever is played; Reason says why when a short reason is known
    TooHard,   // the search gave up within its budget
};

struct TSolverAnswer {
    TSolverState State = TSolverState::Idle;
    std::vector<Solver::Move> Moves;
    std::string Reason;
};

// The position of a game in play, for the solver; none when the board is no whole deck.
std::optional<Solver::Position> PositionOf(const TGame& game);

// Decides the position on the table beside play: each position is searched on a worker thread
// of its own object, a search for an earlier position is cancelled when a new one comes, and the
// answer comes back on the thread of the window as Changed. Nothing here ever makes the window
// wait for a search (the destructor only waits the fraction of a millisecond a cancelled search
// takes to notice).
class TSolverWatch : public QObject {
    Q_OBJECT
public:
    explicit TSolverWatch(Solver::Budget budget = {}, QObject* parent = nullptr);
    ~TSolverWatch() override;

    // Judges a position. The position reached by the next move of a winning line already known
    // is answered at once; any other is searched.
    void Watch(const Solver::Position& position);
    // No game is on the table: a running search is cancelled and the answer is Idle.
    void Forget();
    const TSolverAnswer& Answer() const { return answer; }

signals:
    void Changed();

private:
    struct Job {
        uint64_t Generation;
        Solver::Position Position;
    };

    void Work();
    void Answered(uint64_t generation, const Solver::Result& result);
    void SetAnswer(TSolverAnswer next);

    const Solver::Budget budget;
    // Read and written on the window's thread only.
    TSolverAnswer answer;
    std::optional<Solver::Position> judged;
    uint64_t generation = 0;

    // Shared with the worker, under the lock.
    std::mutex lock;
    std::condition_variable wake;
    std::optional<Job> pending;
    bool closing = false;
    std::atomic<bool> cancel{false};
    std::thread worker;
};
