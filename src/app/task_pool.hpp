#pragma once
// The one pool of 1000 task slots that holds every game object.
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace tessaly {

constexpr int kTaskSlots = 1000;
constexpr size_t kTaskPrivateBytes = 2048;

struct Task;
using TaskFn = void (*)(Task*);

struct Task {
    int32_t in_use;
    int32_t update;
    int32_t draw;
    int32_t kind;
    int32_t spare;
    TaskFn update_fn;
    TaskFn draw_fn;
    alignas(8) unsigned char priv[kTaskPrivateBytes];
};

// Signal codes of task_signal_all and task_signal_kind.
constexpr int kSignalStopUpdate = 10;
constexpr int kSignalStopDraw = 11;
constexpr int kSignalStopBoth = 12;
constexpr int kSignalResume = 13;

// Task kinds.
constexpr int kKindCamera = 1000;
constexpr int kKindPlayer = 1010;
constexpr int kKindMap = 1020;
constexpr int kKindBattleStage = 1040;
constexpr int kKindCombatant = 1050;
constexpr int kKindOrb = 1060;
constexpr int kKindBattleSpare = 1070;
constexpr int kKindProp = 1080;
constexpr int kKindEventActor = 1090;
constexpr int kKindEventRunner = 1500;
constexpr int kKindBattle = 1510;
constexpr int kKindPauseMenu = 1520;
constexpr int kKindTitle = 2000;
constexpr int kKindOptions = 2010;
constexpr int kKindQuitConfirm = 2020;
constexpr int kKindSaveMenu = 2050;
constexpr int kKindItemScene = 2060;
constexpr int kKindShop = 2070;
constexpr int kKindLevelUpSign = 2080;
constexpr int kKindInstructions = 2910;
constexpr int kKindCarousel = 2920;
constexpr int kKindCredits = 2930;
constexpr int kKindEndPicture = 2940;

// Fixed slots.
constexpr int kSlotMap = 2;
constexpr int kSlotPlayersFirst = 10;
constexpr int kSlotPlayersEnd = 13;
constexpr int kSlotBattleFiguresFirst = 30;
constexpr int kSlotBattleFiguresEnd = 50;
constexpr int kSlotEventActorsFirst = 51;
constexpr int kSlotEventActorsEnd = 57;
constexpr int kSlotSelectWheel = 58;
constexpr int kSlotBattleStage = 60;
constexpr int kSlotCamera = 199;
constexpr int kSlotTitle = 901;
constexpr int kSlotQuitConfirm = 902;
constexpr int kSlotInstructions = 904;
constexpr int kSlotCarousel = 905;
constexpr int kSlotCredits = 906;
constexpr int kSlotEventRunner = 907;
constexpr int kSlotBattle = 908;
constexpr int kSlotFieldMenu = 909;
constexpr int kSlotSaveMenu = 910;
constexpr int kSlotShop = 911;
constexpr int kSlotOptions = 912;
constexpr int kSlotItemScene = 913;
constexpr int kSlotLevelUpSign = 914;
constexpr int kSlotPauseMenu = 998;
constexpr int kSlotEndPicture = 999;

// The pool block; null before pool_create and after pool_destroy.
Task* task_pool();

bool pool_create();
void pool_reset();
void pool_destroy();

void task_end_all();
// The slot cleared and returned, or null if it is in use. The caller marks it in use.
Task* task_alloc_at(int slot);
// The lowest free slot in first..end-1, cleared; null if there is none.
Task* task_alloc_in_range(int first, int end);
int task_kind_exists(int kind);
Task* task_find_kind(int kind);
void task_end_kind(int kind);
void task_signal_all(int code);
void task_signal_kind(int kind, int code);
void task_update_pass();
void task_draw_pass();

// The slot number of a task of the pool.
int task_slot(const Task* t);

// A task's private area as the record its creator lays there. The record must fit and
// must be a plain record, since allocation clears the slot byte by byte.
template <class T>
T& task_record(Task* t) {
    static_assert(sizeof(T) <= kTaskPrivateBytes, "record does not fit a task's private area");
    static_assert(std::is_trivially_copyable_v<T> && std::is_standard_layout_v<T>,
                  "a task record must be a plain record");
    static_assert(alignof(T) <= 8, "a task record must not need more than 8-byte alignment");
    return *reinterpret_cast<T*>(t->priv);
}

// True while the event runner holds its slot; no player moves and Shift opens no menu then.
bool event_running();

// A menu opened during play freezes every task (signal 10) and thaws them all (signal 13) when
// it closes; the menu starts its own slot after the freeze.
void tasks_freeze();
void tasks_resume();

// The update of most tasks: run the record's current step, then end the task once the step
// has set alive to 0. A step that lays a fresh live record in the same slot keeps it.
template <class R, auto Step = &R::step>
void task_step_update(Task* t) {
    R& r = task_record<R>(t);
    (r.*Step)(r);
    if (r.alive == 0) t->in_use = 0;
}

// Marks a freshly allocated slot live with both flags set, as creators do.
inline void task_start(Task* t, int kind, TaskFn update_fn, TaskFn draw_fn, int update = 1,
                       int draw = 1) {
    t->in_use = 1;
    t->update = update;
    t->draw = draw;
    t->kind = kind;
    t->update_fn = update_fn;
    t->draw_fn = draw_fn;
}

}  // namespace tessaly
