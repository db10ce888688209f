* Starts the fiscal printer, reads its clock and stops it again:
*   zuvhost --data examples/zuvtill/dane examples/zuvtill/zegar.prg
* The printer is the device module's stand-in, told here what to answer.
modul := IIF(_DFSYMBOL() == "DF301", "DW", "CW")
godz := "" ; minuty := ""

// Not started yet: nothing reaches the printer.
?? _DFSYMBOL(), WD_DRFIS(), FDGETTIME(@godz, @minuty), ZH_CALLS() == ""

// The start on port 2 at 19200 baud answers 0: the printer is operated.
ZH_ANSWER(modul + "START", 0)
?? FDSTART(NIL, 2, 19200, 5, 2), WD_DRFIS(), DF_PARPORT({})

// The clock, written into the variables passed by reference.
ZH_ANSWER(modul + "GETTIME", 0)
ZH_WRITE(modul + "GETTIME", 1, 14)
ZH_WRITE(modul + "GETTIME", 2, 5)
?? FDGETTIME(@godz, @minuty), godz, minuty
? ZH_CALLS()

// Stopped again: the port settings are those at load.
?? FDSTART(NIL, 1, 9600, 5, 1), WD_DRFIS(), DF_PARPORT({})
?? FDGETTIME(@godz, @minuty), ZH_CALLS() == ""
