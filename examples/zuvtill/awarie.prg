* The ways a link job fails, one after another, and what each leaves in the
* fiscal printer's error log. Run it in a host directory whose FISK holds
* the link program (the simulator), as informacja.prg:
*   cd kasa && ../build/zuvtill/bin/zuvhost --data ../examples/zuvtill/dane ../examples/zuvtill/awarie.prg
* What the library shows and reports is listed after each step; the log
* itself stamps every entry with the date and time.
PUBLIC pikoperator := "Kasjer 1"
modul := IIF(_DFSYMBOL() == "DF301", "DW", "CW")
program := "FISK\" + GETPROGNAME()
ZH_ANSWER(modul + "START", 0)
?? FDSTART(NIL, 1, 9600, 5, 2), WD_GETPROG("3")
ZH_CALLS()

// The program runs and reports no error: nothing is logged.
? "dobrze:", WD_RUNLINK(WD_GETPROG("3") + " ZUVi.df3"), FILE("FISK\" + GETZUVERR())
? ZH_CALLS()

// The program ends with a status but leaves no error file: it ran.
h := FCREATE("FISK\SYMULATOR.INI") ; FWRITE(h, "kod_wyjscia=3") ; FCLOSE(h)
? "kod 3:", WD_RUNLINK(WD_GETPROG("3") + " ZUVi.df3"), FILE("FISK\" + GETZUVERR())
? ZH_CALLS()

// The program leaves its error file: copied into the log and deleted.
h := FCREATE("FISK\SYMULATOR.INI") ; FWRITE(h, "blad=Brak papieru w drukarce") ; FCLOSE(h)
? "blad:", WD_RUNLINK(WD_GETPROG("4") + " ZUVi.fp6"), FILE("FISK\" + GETERRNAME())
? ZH_CALLS()
FERASE("FISK\SYMULATOR.INI")

// Another program on the command line that is nowhere: not started, #1001.
? "brak na linii:", WD_RUNLINK("BRAK.EXE 3 1 9600 25 ZUVi.df3")
? ZH_CALLS()

// The program's file is no program (a new file, which no system may
// start): not started, #1001.
FERASE(program)
h := FCREATE(program) ; FWRITE(h, "to nie program") ; FCLOSE(h)
? "nie program:", WD_RUNLINK(WD_GETPROG("3") + " ZUVi.df3")
? ZH_CALLS()

// The program's file is missing: #1005, and not run.
FERASE(program)
? "brak programu:", WD_RUNLINK(WD_GETPROG("3") + " ZUVi.df3")
? ZH_CALLS()

// The work directory cannot be entered: not started.
ZH_ANSWER("CHANGEDIR", 3)
h := FCREATE(program) ; FCLOSE(h)
? "katalog:", WD_RUNLINK(WD_GETPROG("3") + " ZUVi.df3")
? ZH_CALLS()
