#include "state/game_state.hpp"

namespace tessaly {
namespace {

// Rows 4..9 stay zero in every field, the holder included.
constexpr RequestRecord kInitialRequests[] = {
    {0, 0, kNoHolder, 0, 0, kRequestKindItem, 0, {1136, 721, 1174, 740}, 0},
    {1, 0, kNoHolder, 100, 1000, kRequestKindItem, 11, {1014, 744, 1218, 764}, 8},
    {2, 0, kNoHolder, 200, 2000, kRequestKindItem, 5, {1014, 767, 1217, 787}, 31},
    {3, 0, kNoHolder, 100, 1000, kRequestKindItem, 12, {1014, 789, 1155, 809}, 35},
};

constexpr ItemRecord kInitialItems[kItemRows] = {
    {0, 0, 0, 0, {620, 723, 658, 742}, {0, 0, 0, 0}},
    {1, 1, 50, 100, {665, 722, 766, 742}, {769, 721, 1009, 741}},
    {2, 1, 100, 200, {620, 746, 741, 766}, {744, 746, 994, 766}},
    {3, 2, 0, 500, {620, 813, 697, 832}, {0, 0, 0, 0}},
    {4, 2, 0, 1000, {700, 813, 812, 833}, {0, 0, 0, 0}},
    {5, 2, 0, 1500, {620, 835, 701, 856}, {0, 0, 0, 0}},
    {6, 2, 0, 500, {707, 835, 768, 855}, {0, 0, 0, 0}},
    {7, 3, 0, 1000, {620, 858, 739, 878}, {0, 0, 0, 0}},
    {8, 3, 0, 500, {745, 860, 804, 879}, {0, 0, 0, 0}},
    {9, 4, 0, 100, {620, 881, 659, 901}, {0, 0, 0, 0}},
    {10, 4, 0, 100, {663, 881, 704, 901}, {0, 0, 0, 0}},
    {11, 4, 0, 500, {707, 881, 788, 901}, {0, 0, 0, 0}},
    {12, 4, 0, 500, {777, 835, 796, 855}, {0, 0, 0, 0}},
};

struct ScriptRow {
    int32_t square;
    int32_t stages[kEventStages];
};

// Squares not listed run script 0 at every stage.
constexpr ScriptRow kInitialScripts[] = {
    {7, {1, 2, 0, 0}},     {8, {3, 4, 5, 6}},      {12, {7, 8, 0, 0}},     {16, {16, 0, 0, 0}},
    {20, {9, 10, 0, 0}},   {23, {11, 12, 0, 0}},   {25, {13, 14, 15, 0}},  {26, {0, 28, 0, 0}},
    {27, {0, 17, 0, 0}},   {31, {18, 19, 20, 21}}, {35, {22, 23, 24, 25}}, {37, {26, 27, 0, 0}},
    {41, {33, 34, 35, 0}}, {42, {36, 37, 38, 0}},
};

constexpr GameState make_initial() {
    GameState g{};
    int row = 0;
    for (const RequestRecord& r : kInitialRequests) g.requests[row++] = r;
    for (int i = 0; i < kItemRows; ++i) g.items[i] = kInitialItems[i];
    for (const ScriptRow& s : kInitialScripts) {
        for (int k = 0; k < kEventStages; ++k) g.event_script[s.square - 1][k] = s.stages[k];
    }
    return g;
}

}  // namespace

// Built when the program is compiled, so no other start-up code can see it unfilled.
constinit GameState g_game = make_initial();

GameState game_state_initial() {
    return make_initial();
}

void apply_settings_defaults() {
    for (int32_t& s : g_game.settings) s = 1;
}

void reset_event_stages() {
    for (int32_t& s : g_game.event_stage) s = 0;
}

void reset_requests() {
    for (RequestRecord& r : g_game.requests) {
        r.taken = 0;
        r.holder = kNoHolder;
    }
}

}  // namespace tessaly
