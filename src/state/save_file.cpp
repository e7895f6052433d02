#include "state/save_file.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "app/byte_io.hpp"
#include "app/task_pool.hpp"
#include "field/camera.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "field/route_hints.hpp"
#include "field/routes.hpp"
#include "field/terrain.hpp"
#include "platform/files.hpp"
#include "render/textures.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr int kItemIdLast = kItemRows - 1;
constexpr int kAttackStyleLast = 5;
constexpr int kStageLast = kEventStages - 1;
// The item block is written this many times over; reading keeps the last copy.
constexpr int kItemBlockCopies = 8;
// Data row values kept per member: all but the last two further values.
constexpr int kMemberFurtherSaved = 2;

char g_folder[512] = "";

// One save image, file and memory alike: read once into it, checked, then applied.
unsigned char g_image[kSaveMaxBytes + 1];

// The fields of one player block.
struct SavedMember {
    Vec3 position;
    float facing;
    MemberData data;
};

struct SavedPlayer {
    int32_t skip_turn, computer, character_id, level, hit_points, max_hit_points, attack, defence,
        money;
    Vec3 position;
    float facing;
    int32_t step_frame, steps_left, history_count;
    int32_t team_number, achievement_bits;
    int32_t team_target, route_number, route_die_step, route_direction_step;
    int32_t history[kHistoryLength];
    SavedMember members[kMembersPerPlayer];
    int32_t items[kItemSlots];
};

struct SaveImage {
    int32_t summary;
    SavedPlayer players[kSavePlayers];
    Vec3 camera_target;
    Vec3 camera_eye;
    float camera_angle;
    RequestRecord requests[kRequestRows];
    int32_t stages[kSquareCount];
    const unsigned char* terrain;
    const unsigned char* squares;
};

void write_vec3(ByteWriter& w, const Vec3& v) {
    w.f32(v.x);
    w.f32(v.y);
    w.f32(v.z);
}

void write_rect(ByteWriter& w, const Rect& r) {
    w.f32(r.left);
    w.f32(r.top);
    w.f32(r.right);
    w.f32(r.bottom);
}

void write_player(ByteWriter& w, const PlayerRecord& p) {
    for (int32_t v : {p.skip_turn, p.computer, p.character_id, p.level, p.hit_points,
                      p.max_hit_points, p.attack, p.defence, p.money})
        w.i32(v);
    write_vec3(w, p.position);
    w.f32(p.facing);
    w.i32(p.step_frame);
    w.i32(p.steps_left);
    w.i32(p.history_count);
    w.i32(p.team_number);
    w.i32(p.achievement_bits);
    w.i32(p.team_target);
    w.i32(p.route_number);
    w.i32(p.route_die_step);
    w.i32(p.route_direction_step);
    for (int32_t h : p.history) w.i32(h);
    for (const MemberRecord& m : p.members) {
        write_vec3(w, m.position);
        w.f32(m.facing);
        const MemberData& d = m.data;
        for (int32_t v : {d.id, d.mesh, d.kind, d.value_a, d.value_b, d.attack, d.defence})
            w.i32(v);
        for (float v : d.portrait) w.f32(v);
        for (float v : d.name_plate) w.f32(v);
        for (int i = 0; i < kMemberFurtherSaved; ++i) w.i32(d.further[i]);
    }
    for (int copy = 0; copy < kItemBlockCopies; ++copy) {
        for (int32_t item : p.items) w.i32(item);
    }
}

void write_request(ByteWriter& w, const RequestRecord& r) {
    for (int32_t v : {r.number, r.taken, r.holder, r.reward_exp, r.reward_money, r.kind, r.item_id})
        w.i32(v);
    write_rect(w, r.name_rect);
    w.i32(r.square);
}

Vec3 read_vec3(ByteReader& r) {
    Vec3 v;
    v.x = r.f32();
    v.y = r.f32();
    v.z = r.f32();
    return v;
}

Rect read_rect(ByteReader& r) {
    Rect out;
    out.left = r.f32();
    out.top = r.f32();
    out.right = r.f32();
    out.bottom = r.f32();
    return out;
}

void read_player(ByteReader& r, SavedPlayer& p) {
    for (int32_t* v : {&p.skip_turn, &p.computer, &p.character_id, &p.level, &p.hit_points,
                       &p.max_hit_points, &p.attack, &p.defence, &p.money})
        *v = r.i32();
    p.position = read_vec3(r);
    p.facing = r.f32();
    p.step_frame = r.i32();
    p.steps_left = r.i32();
    p.history_count = r.i32();
    p.team_number = r.i32();
    p.achievement_bits = r.i32();
    p.team_target = r.i32();
    p.route_number = r.i32();
    p.route_die_step = r.i32();
    p.route_direction_step = r.i32();
    for (int32_t& h : p.history) h = r.i32();
    for (SavedMember& m : p.members) {
        m.position = read_vec3(r);
        m.facing = r.f32();
        MemberData& d = m.data;
        d = MemberData{};
        for (int32_t* v : {&d.id, &d.mesh, &d.kind, &d.value_a, &d.value_b, &d.attack, &d.defence})
            *v = r.i32();
        for (float& v : d.portrait) v = r.f32();
        for (float& v : d.name_plate) v = r.f32();
        for (int i = 0; i < kMemberFurtherSaved; ++i) d.further[i] = r.i32();
    }
    for (int copy = 0; copy < kItemBlockCopies; ++copy) {
        for (int32_t& item : p.items) item = r.i32();
    }
}

void read_request(ByteReader& r, RequestRecord& q) {
    for (int32_t* v :
         {&q.number, &q.taken, &q.holder, &q.reward_exp, &q.reward_money, &q.kind, &q.item_id})
        *v = r.i32();
    q.name_rect = read_rect(r);
    q.square = r.i32();
}

// Splits an image of the exact length into its fields; false when it is not that long.
bool save_image_parse(const unsigned char* data, size_t n, int width, int height, SaveImage& out) {
    if (!map_size_fits(width, height) || n != save_file_bytes(width, height)) return false;
    ByteReader r(data, n);
    out.summary = r.i32();
    for (SavedPlayer& p : out.players) read_player(r, p);
    out.camera_target = read_vec3(r);
    out.camera_eye = read_vec3(r);
    out.camera_angle = r.f32();
    for (RequestRecord& q : out.requests) read_request(r, q);
    for (int32_t& s : out.stages) s = r.i32();
    const size_t layer = static_cast<size_t>(width) * static_cast<size_t>(height);
    out.terrain = data + kSaveFixedBytes;
    out.squares = out.terrain + layer;
    return r.ok();
}

bool in_range(int32_t v, int32_t first, int32_t last) {
    return v >= first && v <= last;
}

bool finite_rect(const float (&r)[4]) {
    for (float v : r) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

bool finite_rect(const Rect& r) {
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
           std::isfinite(r.bottom);
}

bool finite_vec3(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A finite world position whose cell lies inside the 300 x 300 grid.
bool position_in_grid(const Vec3& v) {
    const float half = static_cast<float>(kGridSize);
    return finite_vec3(v) && v.x >= -half && v.x < half && v.z > -half && v.z <= half;
}

bool member_valid(const SavedMember& m) {
    const MemberData& d = m.data;
    return position_in_grid(m.position) && std::isfinite(m.facing) &&
           in_range(d.mesh, 0, kMeshCount - 1) && in_range(d.further[0], 0, kAttackStyleLast) &&
           in_range(d.further[1], 0, kAttackStyleLast) && finite_rect(d.portrait) &&
           finite_rect(d.name_plate);
}

bool player_valid(const SavedPlayer& p) {
    if (!in_range(p.computer, 0, 1) || !in_range(p.character_id, 0, kCharacterCount - 1))
        return false;
    if (!position_in_grid(p.position) || !std::isfinite(p.facing)) return false;
    if (!in_range(p.history_count, 0, kHistoryLength - 1)) return false;
    for (int32_t h : p.history) {
        if (!in_range(h, 0, kGridCells - 1)) return false;
    }
    if (!in_range(p.team_number, 0, kRequestRows - 1) || !in_range(p.team_target, 0, kItemIdLast))
        return false;
    if (!in_range(p.route_number, 0, kRouteCount - 1) ||
        !in_range(p.route_die_step, 0, kRouteDieEntries - 1) ||
        !in_range(p.route_direction_step, 0, kRouteDirectionEntries - 1))
        return false;
    for (const SavedMember& m : p.members) {
        if (!member_valid(m)) return false;
    }
    for (int32_t item : p.items) {
        if (!in_range(item, 0, kItemIdLast)) return false;
    }
    return true;
}

bool request_valid(const RequestRecord& q) {
    return in_range(q.holder, kNoHolder, kCharacterCount - 1) &&
           in_range(q.item_id, 0, kItemIdLast) && in_range(q.square, 0, kSquareLast) &&
           finite_rect(q.name_rect);
}

bool image_fields_valid(const SaveImage& s, int width, int height) {
    int humans = 0;
    for (const SavedPlayer& p : s.players) {
        if (!player_valid(p)) return false;
        humans += p.computer == 0 ? 1 : 0;
    }
    if (humans != 1) return false;
    if (!position_in_grid(s.camera_target) || !finite_vec3(s.camera_eye) ||
        !std::isfinite(s.camera_angle))
        return false;
    for (const RequestRecord& q : s.requests) {
        if (!request_valid(q)) return false;
    }
    for (int32_t stage : s.stages) {
        if (!in_range(stage, 0, kStageLast)) return false;
    }
    // Square numbers pick event scripts: anything but 0..60 would index past the table.
    const size_t layer = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < layer; ++i) {
        const int v = static_cast<int8_t>(s.squares[i]);
        if (!in_range(v, 0, kSquareLast)) return false;
    }
    return true;
}

// Fills a cleared player slot from its block, as a loaded player starts.
void player_from_block(Task* t, const SavedPlayer& s) {
    task_start(t, kKindPlayer, &player_update, &player_draw);
    PlayerRecord& p = task_record<PlayerRecord>(t);
    p.skip_turn = s.skip_turn;
    p.computer = s.computer;
    p.character_id = s.character_id;
    p.level = s.level;
    p.hit_points = s.hit_points;
    p.max_hit_points = s.max_hit_points;
    p.attack = s.attack;
    p.defence = s.defence;
    p.money = s.money;
    // Experience is not stored: a loaded player starts the level afresh.
    p.experience = 0;
    p.position = s.position;
    p.facing = s.facing;
    p.history_count = s.history_count;
    p.team_number = s.team_number;
    p.achievement_bits = s.achievement_bits;
    p.team_target = s.team_target;
    p.route_number = s.route_number;
    p.route_die_step = s.route_die_step;
    p.route_direction_step = s.route_direction_step;
    for (int i = 0; i < kHistoryLength; ++i) p.history[i] = s.history[i];
    for (int i = 0; i < kMembersPerPlayer; ++i) {
        MemberRecord& m = p.members[i];
        m.position = s.members[i].position;
        m.facing = s.members[i].facing;
        m.data = s.members[i].data;
        m.step_frame = 0;
        m.state = i == 0 ? &member_idle : &member_follow;
        m.ahead = i == 0 ? nullptr : &p.members[i - 1];
        m.owner = &p;
    }
    p.alive = 1;
    p.steps_left = 1;
    p.step_frame = 0;
    p.computer_wait = 0;
    p.state = p.computer == 0 ? &die_spin : &turn_waiting;
    for (int i = 0; i < kItemSlots; ++i) p.items[i] = s.items[i];
}

// The camera of a loaded game, made without camera_create: it follows the player of slot 10.
void camera_from_block(const SaveImage& s) {
    Task* t = task_alloc_in_range(kSlotCamera, kSlotCamera + 1);
    if (!t) return;
    task_start(t, kKindCamera, &camera_update, &camera_draw);
    CameraRecord& c = task_record<CameraRecord>(t);
    c.alive = 1;
    c.zero = 0;
    c.pan_steps = 0;
    c.countdown = 0;
    c.behaviour = &camera_follow;
    c.followed = player_in_slot(kSlotPlayersFirst);
    c.target = s.camera_target;
    c.eye = s.camera_eye;
    c.angle = s.camera_angle;
}

// Rebuilds the board from a checked image.
void load_apply(const SaveImage& s, int width, int height) {
    task_end_all();
    pool_reset();
    for (const SavedPlayer& block : s.players) {
        Task* t = task_alloc_in_range(kSlotPlayersFirst, kSlotPlayersEnd);
        if (t) player_from_block(t, block);
    }
    players_dump_register();
    turn_ring_link();
    map_task_create();
    field_data_load();
    camera_from_block(s);
    for (int i = 0; i < kRequestRows; ++i) g_game.requests[i] = s.requests[i];
    for (int i = 0; i < kSquareCount; ++i) g_game.event_stage[i] = s.stages[i];
    const size_t layer = static_cast<size_t>(width) * static_cast<size_t>(height);
    map_block_copy_in(s.terrain, layer, g_game.terrain_layer, width, height);
    map_block_copy_in(s.squares, layer, g_game.square_layer, width, height);
    g_game.square_count = map_count_squares();
    // Route hints are not stored; a player's hints are worked out afresh rather than left
    // zero, which would show the first hint picture on every side.
    for (int slot = kSlotPlayersFirst; slot < kSlotPlayersEnd; ++slot) {
        if (PlayerRecord* p = player_in_slot(slot)) {
            for (int32_t& h : p->route_hints) h = -1;
            route_hints_compute(*p);
        }
    }
    music_play(kTrackBoard);
}

}  // namespace

void save_folder_set(const char* folder) {
    std::snprintf(g_folder, sizeof g_folder, "%s", folder ? folder : "");
}

bool save_file_path(int slot, char* out, size_t capacity) {
    if (slot < 0 || slot >= kSaveSlotCount || !out || capacity == 0) return false;
    const int n = g_folder[0] ? std::snprintf(out, capacity, "%s/save%d.dat", g_folder, slot)
                              : std::snprintf(out, capacity, "save%d.dat", slot);
    return n > 0 && static_cast<size_t>(n) < capacity;
}

size_t save_build(unsigned char* out, size_t capacity) {
    const PlayerRecord* players[kSavePlayers] = {};
    int32_t summary = 0;
    for (int i = 0; i < kSavePlayers; ++i) {
        players[i] = player_in_slot(kSlotPlayersFirst + i);
        // A board without all three players or without its camera would give a file that
        // no load accepts; such a board is not saved.
        if (!players[i]) return 0;
        summary |= players[i]->achievement_bits;
    }
    const CameraRecord* camera = camera_find();
    if (!camera) return 0;
    const int width = g_game.map_width;
    const int height = g_game.map_height;
    if (!map_size_fits(width, height) || capacity < save_file_bytes(width, height)) return 0;
    ByteWriter w(std::span<unsigned char>(out, capacity));
    w.i32(summary);
    for (const PlayerRecord* p : players) write_player(w, *p);
    write_vec3(w, camera->target);
    write_vec3(w, camera->eye);
    w.f32(camera->angle);
    for (const RequestRecord& q : g_game.requests) write_request(w, q);
    for (int32_t stage : g_game.event_stage) w.i32(stage);
    if (!w.ok()) return 0;
    size_t n = w.size();
    const size_t layer = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (const int8_t* l : {g_game.terrain_layer, g_game.square_layer}) {
        if (map_block_write(out + n, capacity - n, l, width, height) != layer) return 0;
        n += layer;
    }
    return n;
}

bool save_image_valid(const unsigned char* data, size_t n, int width, int height) {
    static SaveImage image;
    return save_image_parse(data, n, width, height, image) &&
           image_fields_valid(image, width, height);
}

int save_game(int slot) {
    char path[600];
    if (!save_file_path(slot, path, sizeof path)) return 0;
    const size_t n = save_build(g_image, sizeof g_image);
    if (n == 0) return 0;
    // What would not load is not written over a good file.
    if (!save_image_valid(g_image, n, g_game.map_width, g_game.map_height)) return 0;
    return platform::file_write_atomic(path, g_image, n) ? 1 : 0;
}

int save_slot_exists(int slot) {
    char path[600];
    if (!save_file_path(slot, path, sizeof path)) return 0;
    platform::File* f = platform::file_open_read(path);
    if (!f) return 0;
    platform::file_close(f);
    return 1;
}

int32_t save_slot_summary(int slot) {
    char path[600];
    if (!save_file_path(slot, path, sizeof path)) return 0;
    platform::File* f = platform::file_open_read(path);
    if (!f) return 0;
    unsigned char b[kSaveSummaryBytes];
    const size_t got = platform::file_read(f, b, sizeof b);
    platform::file_close(f);
    if (got != sizeof b) return 0;
    ByteReader r(b, sizeof b);
    return r.i32();
}

int load_game(int slot) {
    char path[600];
    if (!save_file_path(slot, path, sizeof path)) return 0;
    int width = 0, height = 0;
    if (!map_pack_size(kMapPackFile, width, height)) return 0;
    platform::File* f = platform::file_open_read(path);
    if (!f) return 0;
    // One byte more than the largest image is asked for, so a file too long is seen.
    const size_t n = platform::file_read(f, g_image, sizeof g_image);
    platform::file_close(f);
    static SaveImage image;
    if (!save_image_parse(g_image, n, width, height, image) ||
        !image_fields_valid(image, width, height))
        return 0;
    load_apply(image, width, height);
    return 1;
}

}  // namespace tessaly
