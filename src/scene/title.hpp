#pragma once
// The title scene: the title pictures and the six-entry menu every game starts from and
// returns to.
#include <cstdint>

#include "app/task_pool.hpp"

namespace tessaly {

constexpr int kTitleEntries = 6;
constexpr int kTitleColumns = 2;
constexpr int kTitleRows = 3;

constexpr int kTitleNewGame = 0;
constexpr int kTitleQuit = 1;
constexpr int kTitleOptions = 2;
constexpr int kTitleLoad = 3;
constexpr int kTitleInstructions = 4;
constexpr int kTitleCarousel = 5;

struct TitleRecord;
using TitleStep = void (*)(TitleRecord&);

struct TitleRecord {
    int32_t alive;
    int32_t selected;  // column + 2 x row
    int32_t column;
    int32_t row;
    TitleStep step;
};

// Creates the title scene in slot 901 and starts the title music; 0 without effect when a
// title exists or the slot is taken.
int title_open();

// The title's steps; the first frame only installs the menu.
void title_first_frame(TitleRecord& r);
void title_menu(TitleRecord& r);

void title_update(Task* t);
void title_draw(Task* t);

}  // namespace tessaly
