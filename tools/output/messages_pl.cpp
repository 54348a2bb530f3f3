// Every sentence of the tool in Polish.
#include "output/counted_words.h"
#include "output/messages.h"

const char* PolishText(Msg message) {
    switch (message) {
        case Msg::Usage:
            return "użycie: callerid [--lang pl|en] POLECENIE [ARGUMENTY]\n"
                   "polecenia:\n"
                   "  help                   ten opis\n"
                   "  send [--to ADRES] [--port PORT] TELEFON CEL [TEKST]\n"
                   "                         jedno połączenie tak, jak wysyła je bramka: pola 0, 1\n"
                   "                         i 4 (wpisane w UTF-8, wysłane w Mazovii),\n"
                   "                         na 127.0.0.1:1338\n"
                   "  send [--to ADRES] [--port PORT] --raw TEKST\n"
                   "                         dokładnie te bajty; sekwencje \\t \\r \\n \\0 \\\\ \\xHH\n"
                   "  ping [ADRES] [--port PORT]\n"
                   "                         \"ping\\tping\\tping\\r\": nasłuch wstrzymuje się na 25 s\n"
                   "                         i wraca z odczytanymi ustawieniami\n"
                   "                         (domyślnie 127.0.0.1)\n"
                   "  restart [ADRES] [--port PORT]\n"
                   "                         \"restart\\trestart\\trestart\\r\": to samo po 5 s\n"
                   "  listen [--port PORT] [--dir KATALOG] [--json]\n"
                   "                         każdy datagram na porcie (domyślnie 1338) w chwili\n"
                   "                         nadejścia: godzina, nadawca, długość, pola 0, 1 i 4,\n"
                   "                         NIP oraz co zrobi z nim wtyczka; Ctrl-C kończy\n"
                   "  log [PLIK | KATALOG] [--date DD-MM-RRRR] [--calls] [--follow]\n"
                   "                         dziennik dnia (domyślnie dzisiejszy z LOGS\\TELEFONY\\)\n"
                   "                         w UTF-8, połączenia w kolumnach ze stanowiskami, które\n"
                   "                         je zapisały, na końcu podsumowanie dnia\n"
                   "  doctor [KATALOG] [--host-ini PLIK] [--date DD-MM-RRRR]\n"
                   "         [--program-dir KATALOG]\n"
                   "                         sprawdza katalog roboczy programu (domyślnie .):\n"
                   "                         wtyczkę i MERLOX obok tego narzędzia, ustawienia,\n"
                   "                         plik slotów, katalog dziennika, port, nasłuchy\n"
                   "                         w dzienniku dnia\n"
                   "  slots PLIK [--json]    dziesięć slotów (1-10) pliku slotów: telefon, cel,\n"
                   "                         data, godzina, NIP, tekst; ! oznacza NIP, który\n"
                   "                         nie ma dziesięciu cyfr albo ma błędną cyfrę kontrolną\n"
                   "  firewall add|remove [--port PORT] [--program-dir KATALOG] [--from ADRES...]\n"
                   "                         reguły Zapory systemu Windows tego stanowiska dla\n"
                   "                         portu wtyczki (Pytaj w MERLOX.INI katalogu programu,\n"
                   "                         inaczej tego katalogu; inaczej 1338), nazwane jak\n"
                   "                         w instalatorze; wymaga administratora\n"
                   "  senders [list | add ADRES... | remove ADRES...] [--dir KATALOG]\n"
                   "                         dozwoleni nadawcy połączeń (Nadawcy w Ornitel.ini):\n"
                   "                         adresy, zakresy a.b.c.d-e.f.g.h, podsieci a.b.c.d/n, *\n"
                   "  window-description [--list]\n"
                   "                         opis okna identyfikacji: surowe bajty (do pliku lub\n"
                   "                         potoku) albo jego rekordy i układ danych\n"
                   "kody wyjścia: 0 gotowe (doctor: bez problemów), 1 doctor znalazł problem,\n"
                   "2 błędne użycie, 3 pliku lub katalogu nie da się odczytać albo nie jest tym,\n"
                   "czego oczekuje polecenie, 4 sieć, 5 zapora nie została zmieniona\n";
        case Msg::UnknownCommand: return "nieznane polecenie %s (callerid help wymienia polecenia)";
        case Msg::NeedsValue: return "%s wymaga wartości";
        case Msg::BadLanguage: return "--lang przyjmuje pl lub en";
        case Msg::BadPort: return "%s nie jest portem: oczekiwano liczby od 1 do 65535";
        case Msg::BadAddress: return "%s nie jest adresem: oczekiwano adresu IPv4, np. 192.168.1.255";
        case Msg::BadDate: return "%s nie jest datą: oczekiwano DD-MM-RRRR, istniejącego dnia (np. 09-12-2026)";
        case Msg::UnexpectedArgument: return "nieoczekiwany argument %s (callerid help wymienia argumenty)";
        case Msg::NoSuchFile: return "%s nie istnieje";
        case Msg::IsDirectory: return "%s jest katalogiem, a nie plikiem";
        case Msg::CannotRead: return "nie można odczytać %s: nadaj temu użytkownikowi prawo odczytu";
        case Msg::NotDayLog: return "%s nie jest dziennikiem dnia: żaden jego wiersz nie jest wierszem zdarzenia ani połączenia wtyczki";
        case Msg::BinaryFile: return "%s jest plikiem binarnym, a nie tekstem zapisywanym przez wtyczkę";
        case Msg::NotSlotFile: return "%s nie jest plikiem slotów: w slocie %d brak końca pola";
        case Msg::SlotFileWrongSize:
            return "plik ma %s zamiast %zu: mieści %s i %s kolejnego, niewymienionego; wtyczka czyta brakujące sloty jako wolne";
        case Msg::NoWholeSlot: return "%s nie jest plikiem slotów: %s, ani jednego pełnego slotu po %zu";
        case Msg::SlotFileOverlong: return "plik ma %s zamiast %zu: nadmiar za dziesięcioma slotami (%s) nie należy do żadnego slotu";
        case Msg::NetworkError: return "nie można wysłać do %s na port %d: %s";
        case Msg::SendUsage: return "send wymaga TELEFON CEL [TEKST] albo --raw TEKST";
        case Msg::SendRawNeedsText: return "--raw wymaga tekstu";
        case Msg::SendRawTakesNoFields: return "--raw nie przyjmuje telefonu, celu ani tekstu";
        case Msg::SendBadEscape: return "błędna sekwencja w tekście --raw: dozwolone \\t \\r \\n \\0 \\\\ i \\xHH";
        case Msg::SendNotInMazovia:
            return "nic nie wysłano: strona kodowa programu (Mazovia) nie ma znaków %s, które program pokazałby jako \"?\"; zapisz je inaczej (EUR, -, \") albo podaj bajty przez --raw";
        case Msg::Sent: return "wysłano: %s do %s na port %d";
        case Msg::ControlSent: return "wysłano: %s do %s na port %d (tamtejszy nasłuch wstrzyma się na %d s i wróci)";
        case Msg::SlotsUsage: return "slots wymaga PLIKU slotów (np. LOGS\\TELEFONY\\CLIP.DAT)";
        case Msg::SlotsHeading: return "%s: %s, %s";
        case Msg::SlotsColumns: return "slot  telefon               cel                   data        godzina\n      NIP               tekst";
        case Msg::SlotFree: return "(wolny)";
        case Msg::WrongNipLegend: return "! po numerze NIP: nie dziesięć cyfr albo błędny NIP (literówka w tekście bramki?)";
        case Msg::Listening: return "nasłuch na porcie UDP %ld (każdy adres lokalny); Ctrl-C kończy";
        case Msg::PortHeld:
            return "port UDP %ld jest już zajęty, najpewniej przez program z działającą wtyczką identyfikacji na tym "
                   "stanowisku: zamknij tam program i uruchom listen ponownie (bramka wysyła tylko na ten port, więc "
                   "inny port nic nie usłyszy); kto go trzyma: %s pokazuje numer procesu (PID), %s jego nazwę";
        case Msg::CannotListen: return "nie można nasłuchiwać na porcie UDP %ld: %s";
        case Msg::VerdictCall: return "połączenie: zapisane w slocie celu \"%s\" i, przy włączonym dzienniku, w dzienniku dnia";
        case Msg::VerdictRing: return "sygnał dzwonienia: nigdy nie zapisywany";
        case Msg::VerdictRepeat: return "powtórzenie %s w ciągu 19 s: nie zapisane";
        case Msg::VerdictSameAgain: return "ten sam datagram ponownie w tej samej sekundzie: nie przekazany dalej (\"Bez zapisu\")";
        case Msg::VerdictControlWord:
            return "słowo sterujące \"%s\": nasłuch wstrzymuje się na %d s, zapisując, co nadejdzie, odczytuje ustawienia i wraca";
        case Msg::VerdictControlWordInPause: return "słowo sterujące \"%s\": w trakcie przerwy, która kończy się jak zwykle";
        case Msg::VerdictAlsoFiled: return " (zapisane także jako połączenie celu \"%s\")";
        case Msg::VerdictTooLong: return "za długi (%s, najwyżej %zu): odrzucony, dziennik pokaże \"recvfrom() error: 10040\"";
        case Msg::VerdictEmpty: return "pusty: pominięty";
        case Msg::NoDayLog: return "brak dziennika %s: tego dnia nic nie zapisano (czy w oknie wtyczki zaznaczono \"Twórz LOG\"?)";
        case Msg::WaitingForLog: return "czekam, aż pojawi się %s (wtyczka tworzy go z pierwszym wierszem dnia); Ctrl-C kończy";
        case Msg::CallsColumns: return "data       godzina   telefon               cel                   NIP\n           stanowiska: tekst";
        case Msg::Summary:
            return "połączenia %d, dzwonienia %d, odrzucone powtórzenia %d, odebrane datagramy %d, "
                   "słowa sterujące %d, błędy %d, stanowiska %d";
        case Msg::SummaryLine: return "podsumowanie: %s";
        case Msg::WindowUsage: return "window-description przyjmuje tylko --list";
        case Msg::WindowRawToTerminal:
            return "surowy opis jest binarny: skieruj go do pliku lub potoku (callerid window-description > okno.bin) albo użyj --list";
        case Msg::WindowHeading: return "opis okna identyfikacji: %s, %s (okno i %s), rekord danych okna %s";
        case Msg::WindowColumns: return "  #  rodzaj        id     flagi  klawisz    x    y    s    w  dane\n     napis";
        case Msg::NoDirectory: return "%s jest plikiem, a nie katalogiem roboczym programu";
        case Msg::ProgramDirMissing: return "katalog programu %s nie istnieje: wskaż katalog programu opcją --program-dir";
        case Msg::PluginFound: return "wtyczka: %s w %s";
        case Msg::PluginMissing:
            return "wtyczka: brak %s w %s: skopiuj go tam z wydania (albo zainstaluj w katalogu programu) lub wskaż katalog programu opcją --program-dir";
        case Msg::HostModuleFound: return "program: %s w %s";
        case Msg::HostModuleMissing:
            return "program: brak %s w %s: wtyczka i to narzędzie należą do katalogu programu; zainstaluj je tam albo wskaż ten katalog opcją --program-dir";
        case Msg::NeverRan:
            return "katalog roboczy %s: brak Ornitel.ini i LOGS\\TELEFONY\\, więc wtyczka nigdy tu nie działała: uruchom doctor w katalogu, w którym działa program, albo raz uruchom tam program";
        case Msg::HostIniMissing: return "ustawienia programu: %s nie istnieje: wskaż plik ustawień programu opcją --host-ini";
        case Msg::HostIniIsDirectory: return "ustawienia programu: %s jest katalogiem: wskaż plik ustawień programu opcją --host-ini";
        case Msg::HostIniNotIni: return "ustawienia programu: %s nie jest plikiem INI: wskaż plik ustawień programu opcją --host-ini";
        case Msg::HostIniUnreadable: return "ustawienia programu: nie można odczytać %s: nadaj temu użytkownikowi prawo odczytu";
        case Msg::PytajMissing:
            return "ustawienia: brak Pytaj w [Ornitel] pliku %s: wtyczka startuje z wyłączonym dziennikiem i portem 1338; otwórz jej okno (Ctrl-G) i zamknij je, by je zapisać";
        case Msg::PytajNotNumbers:
            return "ustawienia: Pytaj=%s w %s to nie cztery liczby po przecinku (powiadomienie,opcje,slot,port, np. 1,4,0,1338): popraw je";
        case Msg::PytajBadOptions: return "ustawienia: Pytaj=%s: bity opcji %ld zawierają nieznane bity (znane: 1 podpowiedź NIP, 2 schowek, 4 dziennik): ustaw od 0 do 7";
        case Msg::PytajBadSlot: return "ustawienia: Pytaj=%s: slot %ld nie mieści się w 1-10: wybierz slot w oknie wtyczki";
        case Msg::PytajBadPort:
            return "ustawienia: Pytaj=%s: port %ld jest poza 1-65535: wtyczka nasłuchuje na %ld i dla niego instalator oraz callerid firewall dodają reguły; ustaw port bramki, zwykle 1338";
        case Msg::PytajOk: return "ustawienia: Pytaj=%s (opcje %ld, slot %ld, port %ld)";
        case Msg::DayLogOff: return "ustawienia: dziennik dnia jest wyłączony: zaznacz \"Twórz LOG\" w oknie wtyczki, by widzieć, co odbiera";
        case Msg::FilenameDefault: return "nazwa pliku slotów: brak w Ornitel.ini, wtyczka używa LOGS\\TELEFONY\\CLIP.DAT";
        case Msg::FilenameNoDirectory:
            return "nazwa pliku slotów: Filename=%s w Ornitel.ini: jego katalog %s nie istnieje: utwórz go albo wybierz inny plik w oknie wtyczki (Wybierz)";
        case Msg::FilenameNotWritable: return "nazwa pliku slotów: Filename=%s: do jego katalogu nie można pisać: nadaj użytkownikom prawo zapisu";
        case Msg::FilenameOk: return "nazwa pliku slotów: Filename=%s";
        case Msg::SlotFileNotYet: return "plik slotów: %s jeszcze nie istnieje (utworzy go pierwsze połączenie)";
        case Msg::SlotFileUnreadable: return "plik slotów: nie można odczytać %s: nadaj użytkownikom prawo odczytu i zapisu";
        case Msg::SlotFileBad:
            return "plik slotów: %s ma %s zamiast %zu albo jest uszkodzony (%s): usuń go (F4 w oknie wtyczki), a następne połączenie utworzy nowy";
        case Msg::SlotFileDoubleTarget: return "plik slotów: %s: cel %s jest w dwóch slotach (następne połączenie do niego wyczyści późniejszy)";
        case Msg::SlotFileOk: return "plik slotów: %s: %s, zajęte sloty: %d z 10";
        case Msg::LogDirNotYet: return "katalog dziennika: LOGS\\TELEFONY\\ jeszcze nie istnieje (wtyczka go utworzy)";
        case Msg::LogDirCannotMake: return "katalog dziennika: do %s nie można pisać, więc nie powstanie LOGS\\TELEFONY\\: nadaj użytkownikom prawo zapisu";
        case Msg::LogDirNotWritable: return "katalog dziennika: %s nie jest katalogiem z prawem zapisu: nadaj użytkownikom prawo zapisu";
        case Msg::LogDirOk: return "katalog dziennika: do %s można pisać";
        case Msg::DayLogMissing: return "dziennik dnia: brak %s: tego dnia nic nie zapisano (czy \"Twórz LOG\" jest zaznaczone, a program działa?)";
        case Msg::DayLogUnreadable: return "dziennik dnia: %s nie da się odczytać jako dziennika: usuń go (F4 w oknie wtyczki)";
        case Msg::DayLogOk: return "dziennik dnia: %s: %s";
        case Msg::StationNeverAlive: return "stanowisko %s: ani jednego wiersza \"I'm alive\" tego dnia: nasłuch nie ruszył; czy program tam działa?";
        case Msg::StationStopped:
            return "stanowisko %s: ostatnie \"I'm alive\" o %s: nasłuch stanął albo program zamknięto; uruchom tam program ponownie";
        case Msg::StationAlive: return "stanowisko %s: ostatnie \"I'm alive\" o %s";
        case Msg::StationLastDatagram: return "stanowisko %s: ostatni datagram o %s od %s";
        case Msg::StationSilentBox:
            return "stanowisko %s: działa od %s do %s bez żadnego datagramu z bramki: bramka może milczeć; sprawdź zasilanie i kabel oraz czy wysyła na to stanowisko (lub adres rozgłoszeniowy) na port wtyczki";
        case Msg::StationBindErrors: return "stanowisko %s: %s: inny program przez chwilę trzymał port (10048)";
        case Msg::StationReceiveErrors: return "stanowisko %s: %s";
        case Msg::StationRestarts: return "stanowisko %s: %s";
        case Msg::StationNoLock:
            return "stanowisko %s: wpisuje połączenia bez blokady między stanowiskami na pliku telefonów (kod błędu systemu %d, ostatnio o %s): stanowiska nie czekają na siebie i mogą nadpisać sobie połączenia; umieść plik telefonów w folderze, do którego każdy użytkownik może pisać i którego system plików lub udział obsługuje blokady, tak aby plik blokady (.lck obok pliku telefonów) dało się utworzyć i zablokować";
        case Msg::PortFree: return "port UDP %ld jest wolny (na tym stanowisku nie działa teraz nasłuch)";
        case Msg::PortCannotTry: return "portu UDP %ld nie da się sprawdzić: %s";
        case Msg::PortHeldByPlugin: return "port UDP %ld trzyma nasłuch wtyczki (ostatnio żywy o %s)";
        case Msg::PortHeldByOther:
            return "port UDP %ld jest zajęty, a dziennik dnia nie pokazuje żywego nasłuchu tego stanowiska: trzyma go inny program; znajdź go (%s pokazuje numer procesu, %s jego nazwę) i zamknij, albo program działa z wyłączonym dziennikiem";
        case Msg::FirewallForPort: return "port to %ld, nie 1338: dodaj dla niego reguły zapory w wierszu poleceń administratora, narzędziem albo poleceniem netsh:";
        case Msg::ProblemCount: return "%s";
        case Msg::HostIniGiven: return "ustawienia programu: %s, wskazany opcją --host-ini";
        case Msg::HostIniFromProgramDir: return "ustawienia programu: %s, plik katalogu programu (ten sam czyta instalator)";
        case Msg::HostIniFromWorkingDir: return "ustawienia programu: %s, plik katalogu roboczego (katalog programu nie ma MERLOX.INI)";
        case Msg::HostIniNone:
            return "ustawienia programu: brak MERLOX.INI w katalogu programu %s i w katalogu roboczym %s: wtyczka startuje z wyłączonym dziennikiem i portem 1338";
        case Msg::HostIniPortsDiffer:
            return "ustawienia programu: %s podaje port %ld, a %s port %ld: program czyta tylko jeden z tych plików; ustaw w obu ten sam port albo usuń zbędny (instalator i reguły zapory biorą port z pliku katalogu programu)";
        case Msg::PluginPortDiffers:
            return "stanowisko %s: wtyczka nasłuchuje od %s na porcie %ld, a %s podaje port %ld: program czyta inne ustawienia albo nie uruchomiono go ponownie po zmianie; wskaż plik ustawień programu opcją --host-ini albo uruchom program ponownie";
        case Msg::SlotFileIsDirectory:
            return "plik slotów: %s jest katalogiem, a nie plikiem: usuń ten katalog albo zmień jego nazwę (lub wybierz inny plik w oknie wtyczki)";
        case Msg::LockFileIsDirectory:
            return "plik blokady: %s jest katalogiem, więc stanowiska nie zapisują slotów po kolei: usuń ten katalog (wtyczka sama utworzy plik)";
        case Msg::LockFileUnreadable:
            return "plik blokady: nie można otworzyć %s: nadaj użytkownikom prawo odczytu i zapisu (do blokady wystarczy odczyt)";
        case Msg::LockFileOk: return "plik blokady: %s";
        case Msg::HostIniFromVirtualStore:
            return "ustawienia programu: %s, kopia MERLOX.INI katalogu programu, którą Windows daje programowi uruchomionemu bez praw administratora (wirtualizacja plików)";
        case Msg::HostIniVirtualPortsDiffer:
            return "ustawienia programu: %s podaje port %ld, a jego kopia %s, którą czyta program uruchomiony bez praw administratora, port %ld: instalator wziął pierwszy; ustaw w obu ten sam port albo usuń kopię";
        case Msg::StationClockOff:
            return "stanowisko %s: jego zegar różni się od zegara serwera o %s s (wiersz logu z %s): połączenia, które wpisuje, mają jego błędne czasy; ustaw zegar tego komputera albo niech bierze czas z serwera";
        case Msg::FirewallUsage: return "firewall wymaga add lub remove (i przyjmuje --port PORT, --program-dir KATALOG)";
        case Msg::FirewallWindowsOnly:
            return "firewall jest dla stanowisk z Windows: dodaje i usuwa reguły Zapory systemu Windows poleceniem netsh; port UDP wtyczki otwórz w zaporze tego systemu";
        case Msg::FirewallNotElevated:
            return "zmiana zapory wymaga administratora: otwórz wiersz polecenia przez \"Uruchom jako administrator\" i uruchom to ponownie; niczego nie zmieniono";
        case Msg::FirewallPortGiven: return "port %ld: podany w --port";
        case Msg::FirewallPortFrom: return "port %ld: Pytaj w [Ornitel] pliku %s";
        case Msg::FirewallPortNone: return "port %ld: %s go nie podaje (Pytaj w [Ornitel])";
        case Msg::FirewallPortNoIni: return "port %ld: brak MERLOX.INI w katalogu programu %s i w tym katalogu";
        case Msg::FirewallBadPytaj:
            return "Pytaj=%s w %s nie podaje portu od 1 do 65535: popraw go (zapisuje go okno wtyczki) albo podaj --port";
        case Msg::FirewallAdded: return "dodano: \"%s\"";
        case Msg::FirewallNotAdded: return "nie dodano: \"%s\": %s";
        case Msg::FirewallRemoved: return "usunięto: \"%s\"";
        case Msg::FirewallNoneThere: return "nie ma: \"%s\" (nie ma czego usuwać)";
        case Msg::FirewallNotRemoved: return "nie usunięto: \"%s\": %s";
        case Msg::NetshEnded: return "netsh zakończył się kodem %ld";
        case Msg::NetshNotStarted: return "nie udało się uruchomić netsh: %s";
        case Msg::FirewallPortOutOfRange:
            return "port %ld: Pytaj=%s w %s podaje port %ld, spoza 1-65535; wtyczka nasłuchuje na %ld, więc reguły są dla %ld (ustaw port bramki, zwykle 1338, w oknie wtyczki)";
        case Msg::NoSuchFolderGiven: return "%s %s: nie ma takiego katalogu";
        case Msg::NoSuchFileGiven: return "%s %s: nie ma takiego pliku";
        case Msg::SendersUsage: return "senders przyjmuje list, add ADRES..., albo remove ADRES... (oraz --dir KATALOG)";
        case Msg::BadSender: return "%s nie jest adresem IPv4, zakresem (a.b.c.d-e.f.g.h), podsiecią (a.b.c.d/n) ani *; niczego nie zmieniono";
        case Msg::SendersListed: return "dozwoleni nadawcy (Nadawcy w %s): %s";
        case Msg::SendersNotSet: return "dozwoleni nadawcy: nie ustawiono (Nadawcy w %s), więc połączenia są przyjmowane z podsieci lokalnych każdego stanowiska i z pętli zwrotnej";
        case Msg::SendersAnywhere: return "dozwoleni nadawcy: * (Nadawcy w %s): połączenia są przyjmowane skądkolwiek";
        case Msg::SendersWritten: return "Nadawcy=%s zapisano w %s; stanowiska przyjmą to przy najbliższym ponownym uruchomieniu nasłuchu (callerid restart)";
        case Msg::SendersNotWritten: return "nie można zapisać %s: %s";
        case Msg::SenderNotListed: return "%s nie ma w Nadawcy; niczego nie zmieniono";
        case Msg::SendersBadStored: return "Nadawcy w %s zawiera wpisy, które nie są adresem, zakresem ani podsiecią (pierwszy: %s): wtyczka je pomija";
        case Msg::DoctorRefusedSender: return "stanowisko %s odrzuciło dziś datagramów: %d od %s (ostatnio o %s): nie ma go w Nadawcy; jeśli to centralka biura: callerid senders add %s";
        case Msg::DoctorNoFreeSlot: return "połączenia, dla których dziś zabrakło wolnego slotu: %d, od %s, dla %s: są w dzienniku, ale nie w slotach; wyczyść niepotrzebne sloty w oknie wtyczki (Ctrl-G) i pozwól wysyłać połączenia tylko centralkom biura (callerid senders)";
        case Msg::SlotsNoFreeSlot: return "wszystkie dziesięć slotów jest zajętych: połączenie dla nowego celu nie znajdzie slotu (callerid doctor podaje, ile dziś takich było)";
        case Msg::VerdictRefused: return "odrzucony: nadawca niedozwolony (nie ma go w Nadawcy; callerid senders add %s)";
        case Msg::FirewallRemoteAddresses: return "reguła przyjmuje datagramy od %s";
        case Msg::Count: break;
    }
    return "";
}

const char* PolishNoun(Noun noun, NounForm form) {
    static const char* const kForms[][3] = {
        {"bajt", "bajty", "bajtów"},
        {"pełny rekord", "pełne rekordy", "pełnych rekordów"},
        {"rekord", "rekordy", "rekordów"},
        {"kontrolka", "kontrolki", "kontrolek"},
        {"slot", "sloty", "slotów"},
        {"wiersz bind() error", "wiersze bind() error", "wierszy bind() error"},
        {"wiersz recvfrom() error", "wiersze recvfrom() error", "wierszy recvfrom() error"},
        {"ponowne uruchomienie nasłuchu", "ponowne uruchomienia nasłuchu", "ponownych uruchomień nasłuchu"},
        {"problem", "problemy", "problemów"},
    };
    static_assert(sizeof kForms / sizeof kForms[0] == static_cast<std::size_t>(Noun::Count), "a noun without its forms");
    return kForms[static_cast<int>(noun)][static_cast<int>(form)];
}
