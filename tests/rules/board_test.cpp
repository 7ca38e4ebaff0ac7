// The move rule, the count, the solved test, the random step and the scramble.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "platform/headless/headless.h"
#include "rules/board.h"

namespace {

// A board with the blank in `blank_cell` and the tile from there in cell 11.
void put_blank_at(int blank_cell) {
    reset_board();
    std::swap(board[blank_cell], board[BLANK_TILE]);
}

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::reset();
        reset_board();
        move_count = 0;
    }
};

struct MoveCase {
    int blank;
    int clicked;
    bool moves;
};

// Every pair of blank cell and clicked cell: a move exactly when the two share a
// side on the grid. Covers the row ends (3|4 and 7|8 must not wrap), diagonals,
// two-away cells and the blank's own cell.
TEST_F(BoardTest, MoveRuleForEveryBlankAndClickedCell) {
    const std::vector<MoveCase> spot_checks = {
        {4, 3, false}, {3, 4, false}, {8, 7, false}, {7, 8, false},   // row ends
        {5, 0, false}, {5, 2, false}, {5, 10, false}, {5, 8, false},  // diagonals
        {5, 7, false}, {5, 5, false}, {1, 9, false},                 // two away, own cell
        {5, 1, true},  {5, 4, true},   {5, 6, true},   {5, 9, true},
        {11, 10, true}, {11, 7, true}, {0, 1, true},   {0, 4, true},
    };
    for (const MoveCase& c : spot_checks) {
        put_blank_at(c.blank);
        move_count = 0;
        const Board before = board;
        const int answer = try_move(c.clicked);
        SCOPED_TRACE(testing::Message() << "blank " << c.blank << " clicked " << c.clicked);
        if (!c.moves) {
            EXPECT_EQ(answer, NO_MOVE);
            EXPECT_EQ(board, before);
            EXPECT_EQ(move_count, 0);
            continue;
        }
        EXPECT_EQ(answer, c.blank);
        EXPECT_EQ(board[c.clicked], BLANK_TILE);
        EXPECT_EQ(board[c.blank], before[c.clicked]);
        EXPECT_EQ(move_count, 1);
    }

    // The full table agrees with plain geometry.
    for (int blank = 0; blank < CELL_COUNT; ++blank)
        for (int clicked = 0; clicked < CELL_COUNT; ++clicked) {
            put_blank_at(blank);
            const int dr = std::abs(row_of(blank) - row_of(clicked));
            const int dc = std::abs(column_of(blank) - column_of(clicked));
            const bool adjacent = dr + dc == 1;
            EXPECT_EQ(try_move(clicked) != NO_MOVE, adjacent) << blank << " " << clicked;
        }
}

TEST_F(BoardTest, CountAndSolvedTestFollowTheMoves) {
    EXPECT_TRUE(is_solved());
    EXPECT_EQ(try_move(10), 11);
    EXPECT_EQ(board[11], 10);
    EXPECT_EQ(board[10], BLANK_TILE);
    EXPECT_EQ(move_count, 1);
    EXPECT_FALSE(is_solved());
    EXPECT_EQ(try_move(11), 10);
    EXPECT_EQ(move_count, 2);
    EXPECT_TRUE(is_solved());
    EXPECT_EQ(try_move(0), NO_MOVE);  // a click that moves nothing does not count
    EXPECT_EQ(move_count, 2);
}

TEST_F(BoardTest, SolvedTestLooksAtEveryCellButTheLast) {
    for (int cell = 0; cell < BLANK_TILE; ++cell) {
        reset_board();
        std::swap(board[cell], board[(cell + 1) % CELL_COUNT]);
        EXPECT_FALSE(is_solved()) << "cell " << cell;
    }
}

// Where the blank ends for each start cell and direction (up, down, right, left),
// written out: edges stay put, rows never wrap.
constexpr int STEP_TARGET[CELL_COUNT][4] = {
    {0, 4, 1, 0},  {1, 5, 2, 0},  {2, 6, 3, 1},   {3, 7, 3, 2},
    {0, 8, 5, 4},  {1, 9, 6, 4},  {2, 10, 7, 5},  {3, 11, 7, 6},
    {4, 8, 9, 8},  {5, 9, 10, 8}, {6, 10, 11, 9}, {7, 11, 11, 10},
};

TEST_F(BoardTest, RandomStepAtEveryEdgeForEveryDirection) {
    for (int start = 0; start < CELL_COUNT; ++start)
        for (int direction = 0; direction < 4; ++direction) {
            put_blank_at(start);
            headless::set_draws({direction});
            const Board before = board;
            const int expected = STEP_TARGET[start][direction];
            SCOPED_TRACE(testing::Message() << "start " << start << " direction " << direction);
            EXPECT_EQ(random_blank_step(start), expected);
            if (expected != start) {
                EXPECT_EQ(board[expected], BLANK_TILE);
                EXPECT_EQ(board[start], before[expected]);
            } else {
                EXPECT_EQ(board, before);
            }
        }
}

std::vector<int> refreshed;
void record_refresh(int cell) { refreshed.push_back(cell); }

TEST_F(BoardTest, ScrambleDrawsFiveHundredTimesAndRefreshesEachChangedPair) {
    // Draws that wander and often point off the grid: 0 and 3 from cell 0 do nothing.
    std::vector<int> draws;
    for (int i = 0; i < SCRAMBLE_STEPS; ++i) draws.push_back((i * 7 + i / 3) % 4);
    headless::set_draws(draws);
    refreshed.clear();
    move_count = 0;

    scramble_board(record_refresh);

    EXPECT_EQ(headless::draws_made(), SCRAMBLE_STEPS);
    EXPECT_EQ(move_count, 0);
    // Replay the walk on a plain model: each moving draw refreshes the cell left, then the cell entered.
    std::vector<int> expected;
    int blank = 11;
    for (int d : draws) {
        const int target = STEP_TARGET[blank][d];
        if (target == blank) continue;
        expected.push_back(blank);
        expected.push_back(target);
        blank = target;
    }
    EXPECT_EQ(refreshed, expected);
    EXPECT_EQ(board[blank], BLANK_TILE);
    Board sorted = board;
    std::sort(sorted.begin(), sorted.end());
    Board identity;
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_EQ(sorted, identity);
}

TEST_F(BoardTest, ScrambleOfDrawsThatAllPointOffTheGridChangesNothing) {
    headless::set_draws(std::vector<int>(SCRAMBLE_STEPS, 1));  // down, from the bottom row
    refreshed.clear();
    scramble_board(record_refresh);
    EXPECT_EQ(headless::draws_made(), SCRAMBLE_STEPS);
    EXPECT_TRUE(refreshed.empty());
    EXPECT_TRUE(is_solved());
}

}  // namespace
