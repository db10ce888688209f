* A tour of the example data through the embedded host:
*   zuvhost --data examples/zuvtill/dane examples/zuvtill/pokaz.prg
p_przds := "01"
p_zkld := "01"
p_pol := 2

// The receipt's header, found by its key.
DBSELECTAREA("naglowek")
? DBSEEK(p_przds + p_zkld + "PA00000417"), naglowek->nr_dowodu, naglowek->data, naglowek->od_brutta
? TYPE("naglowek->nip_parag"), TYPE("naglowek->brak"), TYPE("p_pol"), TYPE("nie_ma")

// Its items in key order: a partial key finds the first one.
DBSELECTAREA("pozycje")
? DBSEEK(p_przds + p_zkld + naglowek->odnosnik + STR(1, 5)), RECNO()
?? pozycje->nr_poz, pozycje->material, pozycje->ilosc, pozycje->cena_pobon
DBSKIP() ; ?? pozycje->nr_poz, pozycje->material, pozycje->ilosc, pozycje->cena_pobon
DBSKIP() ; ?? pozycje->nr_poz, pozycje->material, pozycje->ilosc, pozycje->cena_pobon
DBSKIP() ; ? EOF()

// The stock record of an item, on the stock table's key form.
DBSELECTAREA("stan_mag")
? DBSEEK(_PL(p_przds + p_zkld + "11" + "PIW-050   " + STR(1, 3)))
? TRIM(stan_mag->nazwa_fis), TRIM(stan_mag->plu), JM_NAZWA(stan_mag->jm)
? GETPROCPTU("23"), FISKI(1, "23"), FISKI(1, "ZW"), FISKI(9, "23") == ""

// The headers of one fiscal device, counted within scopes.
DBSELECTAREA("naglowek")
ORDSETFOCUS(11)
CMXSETSCOPE(0, {|| p_przds + p_zkld + "  1  1" })
CMXSETSCOPE(1, {|| p_przds + p_zkld + "  1  1" })
? CMXKEYCOUNT()

// A device function of the ELZAB module, answering what the host is told to.
data := NIL
ZH_ANSWER("CWGETTIME", 0)
ZH_WRITE("CWGETTIME", 1, "14:05")
// (A plain name is a field of the selected table first: naglowek has "data".)
godz := "" ; dzien := ""
? CWGETTIME(@godz, dzien), godz, dzien, M->data == NIL
? ZH_CALLS()

// Texts: the Polish letters of the file coding in coding 1, and the codings.
? LEN(L2M("Zażółć gęślą jaźń")), DAJ_POL(2), DAJ_POL(4)
? STR(1234.5, 8, 2), PADL("7", 5, "0"), DTOC(STOD("20261209")), CMONTH(STOD("20261209"))
