# Whole battles through the real program, each a few seconds of ticks.
function(battle_run_test name ticks args keys expect refuse)
  key_script_test(BattleScript.${name} check_battle_run.cmake KEYS ${keys}
    DEFINES -DNAME=${name} -DTICKS=${ticks} "-DARGS=${args}" "-DEXPECT=${expect}"
            "-DREFUSE=${refuse}")
endfunction()

# Won: the board's player is shown again and board music plays.
battle_run_test(HumanWinsASetBattle 720 "--battle set:12"
  battle_win.keys
  "battle over won;slot 10 kind 1010 update 1 draw 1;sound music 15" "slot 908")
# Lost a set battle: every task cleared but the title, with its music.
battle_run_test(HumanLosesASetBattleToTheTitle 1150 "--battle set:18,19,20,21 --hp 20"
  battle_loss.keys
  "battle over lost;slot 901 kind 2000;sound music 14" "slot 10 ;slot 908;slot 3[0-9] ;slot 60 ")
# A computer player fights a random battle to its end without a key.
battle_run_test(ComputerFightsARandomBattleAlone 1300 "--battle random --computer" ""
  "battle over (won|lost)" "slot 908;slot 60 ")
