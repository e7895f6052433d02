#include "field/members.hpp"
#include "field/players.hpp"

namespace tessaly {

void member_draw(const MemberRecord&) {}
void player_draw(Task*) {}

}  // namespace tessaly
