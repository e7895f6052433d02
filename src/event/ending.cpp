#include "event/ending.hpp"

#include <cstdio>
#include <string>

#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "scene/title.hpp"

namespace tessaly {

const Rect kCredits[kCreditCount] = {
    {735, 1477, 808, 1497}, {643, 1571, 773, 1591}, {643, 1524, 838, 1545}, {817, 1478, 899, 1497},
    {643, 1547, 808, 1567}, {687, 1477, 727, 1497}, {643, 1593, 824, 1613}, {643, 1500, 704, 1520},
    {643, 1643, 907, 1663}, {643, 1477, 683, 1497}, {643, 1620, 889, 1639}, {645, 1667, 903, 1687},
    {708, 1500, 808, 1520}, {813, 1503, 876, 1520},
};

namespace {

constexpr Rect kPromptSource = {643, 1691, 717, 1716};
constexpr float kPromptX = 560.0f;
constexpr float kPromptY = 450.0f;
constexpr int32_t kAlphaMax = 255;

EndPictureRecord* end_picture_find() {
    Task* pool = task_pool();
    if (!pool || !pool[kSlotEndPicture].in_use || pool[kSlotEndPicture].kind != kKindEndPicture)
        return nullptr;
    return &task_record<EndPictureRecord>(&pool[kSlotEndPicture]);
}

CreditsRecord* credits_find() {
    Task* pool = task_pool();
    if (!pool || !pool[kSlotCredits].in_use || pool[kSlotCredits].kind != kKindCredits)
        return nullptr;
    return &task_record<CreditsRecord>(&pool[kSlotCredits]);
}

const char* credits_step_name(CreditsStep s) {
    if (s == &credits_roll) return "roll";
    if (s == &credits_drain) return "drain";
    if (s == &credits_prompt) return "prompt";
    return "other";
}

// The ending's section of the dump: the picture's alpha, the credits' step and sprites.
void ending_dump(std::string& out) {
    char line[160];
    if (const EndPictureRecord* e = end_picture_find()) {
        std::snprintf(line, sizeof line, "end picture alpha %d\n", e->alpha);
        out += line;
    }
    if (const CreditsRecord* c = credits_find()) {
        int active = 0;
        for (const CreditSprite& s : c->sprites) active += s.active ? 1 : 0;
        std::snprintf(line, sizeof line, "credits step %s next %d countdown %d active %d\n",
                      credits_step_name(c->step), c->next, c->countdown, active);
        out += line;
    }
}

void sprites_move(CreditsRecord& r) {
    for (CreditSprite& s : r.sprites) {
        if (!s.active) continue;
        s.y -= 1.0f;
        if (s.y < kCreditGone) s.active = 0;
    }
}

void credit_place(CreditsRecord& r) {
    for (CreditSprite& s : r.sprites) {
        if (s.active) continue;
        s.active = 1;
        s.y = kCreditStartY;
        s.source = kCredits[r.next];
        return;
    }
    // Every sprite busy: this credit is skipped.
}

}  // namespace

int end_picture_start() {
    Task* t = task_alloc_at(kSlotEndPicture);
    if (!t) return 0;
    task_start(t, kKindEndPicture, &task_step_update<EndPictureRecord>, &end_picture_draw);
    EndPictureRecord& r = task_record<EndPictureRecord>(t);
    r.alive = 1;
    r.alpha = 0;
    r.step = &end_picture_fade;
    debug_dump_add_section(&ending_dump);
    return 1;
}

void end_picture_fade(EndPictureRecord& r) {
    r.alpha += kEndPictureFade;
    if (r.alpha > kAlphaMax - 1) r.alpha = kAlphaMax;
}

void end_picture_draw(Task* t) {
    const EndPictureRecord& r = task_record<EndPictureRecord>(t);
    const uint32_t colour = (static_cast<uint32_t>(r.alpha) << 24) | 0xFFFFFFu;
    second_draw(0.0f, 0.0f, kEndPictureSource, colour);
}

int credits_start() {
    Task* t = task_alloc_at(kSlotCredits);
    if (!t) return 0;
    task_start(t, kKindCredits, &credits_update, &credits_draw);
    CreditsRecord& r = task_record<CreditsRecord>(t);
    r.alive = 1;
    r.next = 0;
    r.countdown = kCreditInterval;
    r.step = &credits_roll;
    for (CreditSprite& s : r.sprites) {
        s.active = 0;
        s.y = 500.0f;
        s.spare = 0;
    }
    debug_dump_add_section(&ending_dump);
    return 1;
}

void credits_roll(CreditsRecord& r) {
    r.countdown -= 1;
    if (r.countdown <= 0) {
        r.countdown = kCreditInterval;
        credit_place(r);
        r.next += 1;
        if (r.next >= kCreditCount) r.step = &credits_drain;
    }
    sprites_move(r);
}

void credits_drain(CreditsRecord& r) {
    sprites_move(r);
    for (const CreditSprite& s : r.sprites) {
        if (s.active) return;
    }
    r.step = &credits_prompt;
}

void credits_prompt(CreditsRecord& r) {
    if (key_confirm()) r.alive = 0;
}

void credits_update(Task* t) {
    CreditsRecord& r = task_record<CreditsRecord>(t);
    if (r.step) r.step(r);
    if (r.alive != 0) return;
    t->in_use = 0;
    task_end_all();
    title_open();
}

void credits_draw(Task* t) {
    const CreditsRecord& r = task_record<CreditsRecord>(t);
    second_draw(0.0f, 0.0f, kEndPictureSource);
    for (const CreditSprite& s : r.sprites) {
        if (!s.active) continue;
        sprite_draw_centered(s.source, s.y, kSecondWidth, kSecondHeight, kColourOpaque,
                             second_texture());
    }
    if (r.step == &credits_prompt) second_draw(kPromptX, kPromptY, kPromptSource);
}

}  // namespace tessaly
