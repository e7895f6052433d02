# The test scripts of tests/events/runner, compiled into their own event pack, run through the
# real program: the runner starts a new game and runs one of them as square 41's event for the
# first player (--event), with the keys of a key script.
tessaly_compile_events(runner_test_events OUTPUT ${CMAKE_BINARY_DIR}/test-events/runner.dat
                       SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/events/runner FILL_EMPTY)

# Scripts that all end at once, for the key scripts of the board, the menus and the saves.
tessaly_compile_events(quiet_test_events OUTPUT ${CMAKE_BINARY_DIR}/test-events/quiet.dat
                       SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/events/quiet FILL_EMPTY)

# A run checked as the battles' runs are: the dump after TICKS matches every EXPECT, no REFUSE.
function(event_run_test name script ticks keys expect refuse)
  key_script_test(EventScript.${name} check_battle_run.cmake KEYS ${keys}
    DEFINES -DNAME=event-${name} -DTICKS=${ticks}
            "-DARGS=--events test-events/runner.dat --event ${script}" "-DEXPECT=${expect}"
            "-DREFUSE=${refuse}")
endfunction()

event_run_test(MessageIsRevealedInTheWindow 1 44 ""
  "state message read [0-9]+ window 1 portrait 0 ;event line 0 よくぞ来た、旅の者よ。;event line 2 よい村じゃ。"
  "")
event_run_test(MessageConfirmedEndsTheEventAndTheTurn 1 60 event_message.keys
  "player 10 character 0 computer 0 state turn_waiting" "slot 907 ;event square")
event_run_test(ChoiceAnsweredYes 2 30 event_choice_yes.keys
  "state message .* portrait 2 choice 0 ;event line 0 ようこそ！" "")
event_run_test(ChoiceAnsweredNo 2 30 event_choice_no.keys
  "state message .* portrait 3 choice 1 ;event line 0 また来てね。" "")
event_run_test(ActorsWalkTwoCellsEast 3 40 ""
  "actor 51 id 1 model 12 cell 57 50 angle 0;actor 52 id 2 model 13 cell 57 54 angle 0" "")
event_run_test(ActorsWalkApartAndAreRemoved 3 100 ""
  "player 10 character 0 computer 0 state turn_waiting" "actor 5[0-9];slot 907 ")
event_run_test(CameraPansNorthForFortyFrames 4 44 ""
  "state frame_wait .* pan 90 0 " "")
event_run_test(RequestRewardRaisesALevelWithItsSign 5 20 ""
  "slot 914 kind 2080;state message" "")
event_run_test(EndPictureOverTheBoard 6 60 ""
  "end picture alpha 255;slot 10 kind 1010" "")
event_run_test(CreditsRollThenPromptForAKey 6 3410 ""
  "credits step prompt next 14 countdown 200 active 0" "slot 10 ;slot 907 ")
event_run_test(CreditsReturnToTheTitle 6 3425 event_credits.keys
  "slot 901 kind 2000;sound music 14" "slot 906 ;slot 10 ")
