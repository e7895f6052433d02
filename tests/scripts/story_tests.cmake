# The game's own story through the real program: each character's opening.
function(story_opening_test name character script house first leader advice title portrait line)
  string(TOLOWER ${name} lower)
  key_script_test(StoryScript.OpeningOf${name}IntroducesThePartyAndSendsItToOrdsHouse
    check_story_opening.cmake KEYS story_opening_${lower}.keys
    DEFINES -DNAME=${lower} -DCHARACTER=${character} -DSCRIPT=${script} -DHOUSE=${house}
            -DFIRST=${first} -DLEADER=${leader} -DADVICE=${advice} -DTITLE=${title}
            -DLEADER_PORTRAIT=${portrait} -DLEADER_LINE=${line})
endfunction()
story_opening_test(Leon 0 33 36 96 216 562 きしレオン 13 四つのもんしょうを手に入れて、)
story_opening_test(Mira 1 34 37 96 215 560 まじょミラ 17 ふーん、四つあつめれば)
story_opening_test(Gald 2 35 38 97 220 572 かりゅうど 21 四つのもんしょうか。)

# The human player takes request 1, buys its item and completes it.
key_script_test(StoryScript.HumanTakesRequestOneBuysTheFireStoneAndCompletesIt
  check_story_request.cmake KEYS story_request.keys)

# A computer player takes a request, fetches its item from the shop on its route and
# completes it at the giver, headless, while the runner's player plays the human.
key_script_test(StoryScript.ComputerPlayerTakesARequestFetchesItsItemAndCompletesIt
  check_story_rival_request.cmake)

# The runner's player plays on to the ending: a guardian's set battle, the last battle, the
# end picture and the credits.
key_script_test(StoryScript.GuardianAndLastBattleThenTheEndPictureAndTheCredits
  check_story_ending.cmake)
