#include "state/new_game.hpp"

#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "field/terrain.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {

void new_game(int32_t character_id) {
    reset_requests();
    reset_event_stages();
    task_end_all();
    map_task_create();
    // A missing map or script pack leaves empty layers and empty scripts; play goes on.
    field_data_load();
    players_create(character_id);
    music_play(kTrackBoard);
}

}  // namespace tessaly
