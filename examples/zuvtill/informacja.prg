* Reads the fiscal printer's information through its link program, then
* once more while the program fails, and from a prepared file in a dry
* run. Run it in a host directory whose FISK holds the link program, for
* example the simulator:
*   mkdir -p kasa/FISK && cp build/zuvtill/bin/zuvlink kasa/FISK/ELZABDR.EXE
*   cd kasa && ../build/zuvtill/bin/zuvhost --data ../examples/zuvtill/dane ../examples/zuvtill/informacja.prg
* (POSNETDR.EXE for the DF301 family.)
modul := IIF(_DFSYMBOL() == "DF301", "DW", "CW")
PUBLIC tab_mies := {"stycznia", "lutego", "marca", "kwietnia", "maja", "czerwca", ;
                    "lipca", "sierpnia", "września", "października", "listopada", "grudnia"}
PRIVATE a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15, a16, ;
        a17, a18, a19, a20, a21, a22, a23

// The printer is operated: its device start answers 0.
ZH_ANSWER(modul + "START", 0)
?? FDSTART(NIL, 1, 9600, 5, 2), WD_GETPROG("3")

// Job 3: the link program writes the information file, which is parsed
// into the 23 outputs and max_zmina, and deleted.
? WD_DRPARAM(@a1, @a2, @a3, @a4, @a5, @a6, @a7, @a8, @a9, @a10, @a11, @a12, ;
             @a13, @a14, @a15, @a16, @a17, @a18, @a19, @a20, @a21, @a22, @a23)
? a1
?? a2, a3, a4, a5, a6, a7
?? a8, a9, a10, a11, a12, a13, a14
?? a15, a16, a17, max_zmina, a18, a19, a20, a21, a22, a23

// The program fails: its error file's first line goes into the error log,
// and every output keeps its mark.
h := FCREATE("FISK\SYMULATOR.INI") ; FWRITE(h, "blad=Drukarka nie odpowiada") ; FCLOSE(h)
? WD_DRPARAM(@a1, @a2, @a3, @a4, @a5, @a6, @a7, @a8, @a9, @a10, @a11, @a12, ;
             @a13, @a14, @a15, @a16, @a17, @a18, @a19, @a20, @a21, @a22, @a23)
?? a1, a8, FILE("FISK\" + GETERRNAME())
log := "" ; h := FOPEN("FISK\" + GETZUVERR()) ; FSEEK(h, -24, 2) ; FREAD(h, @log, 24) ; FCLOSE(h)
? log

// The dry run: with DEBUGWIN in the host's directory the link program is
// not run; a prepared FISK\DW_PARDR.df3 is read and kept. This one's clock
// is out of range: error 1003, shown the device's way and logged.
ZH_CALLS()
h := FCREATE("DEBUGWIN") ; FCLOSE(h)
h := FCREATE("FISK\DW_PARDR.df3")
FWRITE(h, '#Informacja z drukarki#' + CHR(13) + CHR(10) + '"09.12.2026","25:00","x"') ; FCLOSE(h)
?? WD_DRPARAM(@a1, @a2, @a3, @a4, @a5, @a6, @a7, @a8, @a9, @a10, @a11, @a12, ;
              @a13, @a14, @a15, @a16, @a17, @a18, @a19, @a20, @a21, @a22, @a23), FILE("FISK\DW_PARDR.df3")
? ZH_CALLS()
