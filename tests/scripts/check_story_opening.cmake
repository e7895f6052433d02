# A character's opening through the real program with the game's own story: a new game of
# CHARACTER (0..2) runs square 41's script by that stage (SCRIPT), which walks the party in,
# lets the sage Ord and the party speak, and goes on with the character's script of Ord's
# house on square 42 (HOUSE); then the die spins for the human player.
# NAME names the pictures (opening_NAME_*.png); FIRST, LEADER and ADVICE are the ticks at
# which Ord's first message, the leader's answer and Ord's first advice are fully shown;
# TITLE, LEADER_PORTRAIT and LEADER_LINE what they show. With -DSHOTS=DIR the pictures of
# docs/story are written there too; without, the run draws nothing, to stay quick.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
set(args)
if(NOT SHOTS)
  set(args --no-render)
endif()
key_script_run(NAME story-opening-${NAME} TICKS 700 DUMPS 40 ${FIRST} ${LEADER} ${ADVICE} 700
  ARGS ${args}
  SHOTS 44:opening_${NAME}_walk_in.png ${FIRST}:opening_${NAME}_ord.png
        ${LEADER}:opening_${NAME}_party.png ${ADVICE}:opening_${NAME}_advice.png)
math(EXPR model0 "${CHARACTER} * 4")
math(EXPR model3 "${model0} + 3")
set(human "player 10 character ${CHARACTER} computer 0 state")

expect(40 "event square 41 script ${SCRIPT} state actor_move"
  "square 41 runs the character's opening, its party walking in")
expect(40 "actor 51 id 1 model ${model0} cell 59 5[0-9] angle 90\n.*actor 54 id 1 model ${model3} "
  "the four members of the character's party are the actors")
expect(40 "${human} turn_start .* square 41\n" "the human waits on the start square")
expect(${FIRST} "state message [^\n]* portrait 0 [^\n]* reveal 3 0 "
  "Ord speaks first, his message fully shown")
expect(${FIRST} "event line 0 よく来てくれた、${TITLE}" "Ord greets the chosen character")
expect(${LEADER} "script ${SCRIPT} state message [^\n]* portrait ${LEADER_PORTRAIT} "
  "the party's leader answers with its own portrait")
expect(${LEADER} "event line 0 ${LEADER_LINE}" "in its own voice")
expect(${ADVICE} "event square 42 script ${HOUSE} state message [^\n]* portrait 0 "
  "the opening goes on in Ord's house, by the character's stage")
expect(${ADVICE} "event line 0 まだ依頼を受けておらんな。" "with no request held, Ord says whom to visit")
if(CHARACTER EQUAL 0)
  expect(${ADVICE} "stages 41:3\n" "the opening is told once; the house keeps stage 0")
else()
  expect(${ADVICE} "stages 41:3 42:${CHARACTER}\n" "the opening is told once; the house takes the character's stage")
endif()
expect_not(${ADVICE} "actor 5[0-9]" "the party's actors are gone again")
expect(700 "${human} die_spin [^\n]* square 41\n" "then the human's die spins on the start square")
expect_not(700 "event square" "no event runs any more")
expect(700 "player 11 [^\n]* computer 1 state turn_waiting [^\n]* square 42\nplayer 11 [^\n]* hp 200/200"
  "the computer players wait for their turns")
