#include "state/new_game.hpp"

#include "app/app.hpp"
#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "field/terrain.hpp"
#include "platform/window.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

// The board and its scripts. A board that is missing, damaged or without a square would
// leave the players standing in the fill, waiting or walking forever; a missing script pack
// only leaves the squares silent.
bool board_load() {
    MapPackRead map = MapPackRead::Missing;
    field_data_load(&map);
    if (map == MapPackRead::Loaded) return true;
    // An unopened file has left its own reason: the file and the folders looked in.
    if (map != MapPackRead::Missing) {
        platform::error_reason("%s: %s", kMapPackFile, map_pack_read_text(map));
    }
    return false;
}

}  // namespace

void new_game(int32_t character_id) {
    reset_requests();
    reset_event_stages();
    task_end_all();
    map_task_create();
    if (!board_load()) {
        task_end_all();
        error_show("data load failed");
        title_open();
        return;
    }
    players_create(character_id);
    music_play(kTrackBoard);
}

}  // namespace tessaly
