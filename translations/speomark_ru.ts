<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>BitmapFile</name>
    <message>
        <source>Cannot make the picture for %1: %2. Any earlier file of that name is unchanged.</source>
        <translation>Не удаётся сделать рисунок %1: %2. Прежний файл с этим именем не изменён.</translation>
    </message>
    <message>
        <source>it has no pixels</source>
        <translation>в нём нет ни одного пикселя</translation>
    </message>
    <message>
        <source>%1 x %2 pixels are more than a BMP file can hold</source>
        <translation>%1 x %2 пикселей — больше, чем вмещает файл BMP</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>не хватает памяти</translation>
    </message>
</context>
<context>
    <name>CavernRun</name>
    <message>
        <source>Survex is not installed: sudo apt-get install survex</source>
        <translation>Survex не установлен: sudo apt-get install survex</translation>
    </message>
    <message>
        <source>Cannot write the survey for cavern in a temporary folder: %1</source>
        <translation>Не удаётся записать съёмку для cavern во временную папку: %1</translation>
    </message>
    <message>
        <source>cavern could not be started: %1</source>
        <translation>Не удаётся запустить cavern: %1</translation>
    </message>
    <message>
        <source>
cavern stopped unexpectedly.</source>
        <translation>
cavern неожиданно остановился.</translation>
    </message>
    <message>
        <source>cavern did not finish within %1 seconds and was stopped.</source>
        <translation>cavern не закончил работу за %1 с и был остановлен.</translation>
    </message>
</context>
<context>
    <name>CentrelineDrawing</name>
    <message>
        <source> m</source>
        <translation> м</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Высота</translation>
    </message>
    <message>
        <source>plan and profile lengths disagree</source>
        <translation>длины на плане и развёртке расходятся</translation>
    </message>
    <message>
        <source>loop misclosed beyond the tolerance</source>
        <translation>невязка кольца больше допуска</translation>
    </message>
    <message>
        <source>N</source>
        <translation>С</translation>
    </message>
    <message>
        <source>E</source>
        <translation>В</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Верх</translation>
    </message>
</context>
<context>
    <name>CentrelineView</name>
    <message>
        <source>Centreline in 3D</source>
        <translation>Нитка хода в 3D</translation>
    </message>
</context>
<context>
    <name>CentrelineWindow</name>
    <message>
        <source>3D view</source>
        <translation>3D-вид</translation>
    </message>
    <message>
        <source>Labels</source>
        <translation>Подписи</translation>
    </message>
    <message>
        <source>3D view status</source>
        <translation>Состояние 3D-вида</translation>
    </message>
    <message>
        <source>Plan (P)</source>
        <translation>План (P)</translation>
    </message>
    <message>
        <source>Look down on the survey, north up</source>
        <translation>Взгляд на съёмку сверху, север вверху</translation>
    </message>
    <message>
        <source>North-facing (N)</source>
        <translation>На север (N)</translation>
    </message>
    <message>
        <source>Elevation looking north, east to the right</source>
        <translation>Разрез с видом на север, восток справа</translation>
    </message>
    <message>
        <source>East-facing (E)</source>
        <translation>На восток (E)</translation>
    </message>
    <message>
        <source>Elevation looking east, south to the right</source>
        <translation>Разрез с видом на восток, юг справа</translation>
    </message>
    <message>
        <source>Drag to turn, wheel to zoom at the cursor.</source>
        <translation>Перетаскивание поворачивает, колёсико увеличивает у курсора.</translation>
    </message>
    <message numerus="yes">
        <source>%n stations</source>
        <translation>
            <numerusform>%n пикет</numerusform>
            <numerusform>%n пикета</numerusform>
            <numerusform>%n пикетов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n legs</source>
        <translation>
            <numerusform>%n замер</numerusform>
            <numerusform>%n замера</numerusform>
            <numerusform>%n замеров</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n loops</source>
        <translation>
            <numerusform>%n кольцо</numerusform>
            <numerusform>%n кольца</numerusform>
            <numerusform>%n колец</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CheckReport</name>
    <message>
        <source>table entry %1</source>
        <translation>строка таблицы %1</translation>
    </message>
    <message>
        <source>table entries %1 and %2</source>
        <translation>строки таблицы %1 и %2</translation>
    </message>
    <message>
        <source>Survey check: %1 (%2), %3.
</source>
        <translation>Проверка съёмки: %1 (%2), %3.
</translation>
    </message>
    <message numerus="yes">
        <source>%n stations</source>
        <translation>
            <numerusform>%n пикет</numerusform>
            <numerusform>%n пикета</numerusform>
            <numerusform>%n пикетов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n table entries</source>
        <translation>
            <numerusform>%n строка таблицы</numerusform>
            <numerusform>%n строки таблицы</numerusform>
            <numerusform>%n строк таблицы</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n legs</source>
        <translation>
            <numerusform>%n замер</numerusform>
            <numerusform>%n замера</numerusform>
            <numerusform>%n замеров</numerusform>
        </translation>
    </message>
    <message>
        <source>
Legs whose plan and profile lengths disagree: </source>
        <translation>
Замеры, у которых длины на плане и развёртке расходятся: </translation>
    </message>
    <message>
        <source>not compared, the survey has no profile.
</source>
        <translation>не сравнивались, у съёмки нет развёртки.
</translation>
    </message>
    <message>
        <source>not compared, the profile has no scale yet.
</source>
        <translation>не сравнивались, у развёртки ещё нет масштаба.
</translation>
    </message>
    <message>
        <source>
Legs that cannot be computed: %1
</source>
        <translation>
Замеры, которые нельзя вычислить: %1
</translation>
    </message>
    <message>
        <source>
Zero-length legs: %1
</source>
        <translation>
Замеры нулевой длины: %1
</translation>
    </message>
    <message>
        <source>
Repeated stations: %1
</source>
        <translation>
Повторённые пикеты: %1
</translation>
    </message>
    <message>
        <source>
Loops: %1
</source>
        <translation>
Кольца: %1
</translation>
    </message>
    <message>
        <source>  closed at %1 (%2): misclosure %3 m (dE %4, dN %5, dZ %6) over %7 m of %8 (%9 %)</source>
        <translation>  замкнуто на %1 (%2): невязка %3 м (ΔВ %4, ΔС %5, ΔH %6) на %7 м хода, %8 (%9 %)</translation>
    </message>
    <message>
        <source>, more than the %1 m allowed</source>
        <translation>, больше допустимых %1 м</translation>
    </message>
    <message>
        <source>
Pieces not tied to station 0: %1
</source>
        <translation>
Части, не связанные с пикетом 0: %1
</translation>
    </message>
    <message numerus="yes">
        <source>%n legs that cannot be computed</source>
        <translation>
            <numerusform>%n замер нельзя вычислить</numerusform>
            <numerusform>%n замера нельзя вычислить</numerusform>
            <numerusform>%n замеров нельзя вычислить</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n legs that disagree</source>
        <translation>
            <numerusform>%n замер расходится</numerusform>
            <numerusform>%n замера расходятся</numerusform>
            <numerusform>%n замеров расходятся</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zero-length legs</source>
        <translation>
            <numerusform>%n замер нулевой длины</numerusform>
            <numerusform>%n замера нулевой длины</numerusform>
            <numerusform>%n замеров нулевой длины</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n loops misclosed beyond the tolerance</source>
        <translation>
            <numerusform>%n кольцо с невязкой больше допуска</numerusform>
            <numerusform>%n кольца с невязкой больше допуска</numerusform>
            <numerusform>%n колец с невязкой больше допуска</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pieces not tied</source>
        <translation>
            <numerusform>%n часть не связана</numerusform>
            <numerusform>%n части не связаны</numerusform>
            <numerusform>%n частей не связаны</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n likely ties</source>
        <translation>
            <numerusform>%n вероятная привязка</numerusform>
            <numerusform>%n вероятные привязки</numerusform>
            <numerusform>%n вероятных привязок</numerusform>
        </translation>
    </message>
    <message>
        <source>
Nothing flagged.
</source>
        <translation>
Замечаний нет.
</translation>
    </message>
    <message>
        <source>
Flagged: %1.
</source>
        <translation>
Замечания: %1.
</translation>
    </message>
    <message>
        <source>
Legs placed under two different scales (the scale changed between their stations and the metres were not recalculated): %1
</source>
        <translation>
Замеры, концы которых поставлены при разных масштабах (масштаб сменился между их пикетами, а метры не пересчитаны): %1
</translation>
    </message>
    <message numerus="yes">
        <source>%n legs placed under two scales</source>
        <translation>
            <numerusform>%n замер при двух масштабах</numerusform>
            <numerusform>%n замера при двух масштабах</numerusform>
            <numerusform>%n замеров при двух масштабах</numerusform>
        </translation>
    </message>
    <message>
        <source>
Stations placed on two sheets: %1
</source>
        <translation>
Пикеты, поставленные на двух листах: %1
</translation>
    </message>
    <message>
        <source>plan and profile sheets</source>
        <translation>листы плана и профиля</translation>
    </message>
    <message>
        <source>plan sheets</source>
        <translation>листы плана</translation>
    </message>
    <message>
        <source>profile sheets</source>
        <translation>листы профиля</translation>
    </message>
    <message>
        <source>joined only here, nothing to compare
</source>
        <translation>связаны только здесь, сравнивать не с чем
</translation>
    </message>
    <message>
        <source>the two placements are %1 m apart (dE %2, dN %3, dZ %4)</source>
        <translation>два положения расходятся на %1 м (ΔВ %2, ΔС %3, ΔH %4)</translation>
    </message>
    <message>
        <source>%1 m or %2 % of the longer length, whichever is larger</source>
        <translation>%1 м или %2 % от большей длины, что больше</translation>
    </message>
    <message>
        <source>Tolerance: %1.
</source>
        <translation>Допуск: %1.
</translation>
    </message>
    <message>
        <source>Tolerance: %1 pixels for each click on the drawings</source>
        <translation>Допуск: %1 пикс. на каждый щелчок по чертежам</translation>
    </message>
    <message>
        <source>, %1 m on a leg or where a loop closes at %2 m per pixel on the plan and %3 on the profile</source>
        <translation>, %1 м на замер или на замыкание кольца при %2 м на пиксель на плане и %3 на развёртке</translation>
    </message>
    <message>
        <source>; where a scale is unknown, %1.
</source>
        <translation>; где масштаб неизвестен, %1.
</translation>
    </message>
    <message>
        <source>  %1 - %2: plan %3 m, profile %4 m, difference %5 m (%6 %), %7 m allowed
</source>
        <translation>  %1 - %2: план %3 м, развёртка %4 м, разница %5 м (%6 %), допустимо %7 м
</translation>
    </message>
    <message>
        <source>
Repeated legs (two stations joined again): %1
</source>
        <translation>
Повторённые замеры (два пикета соединены ещё раз): %1
</translation>
    </message>
    <message>
        <source>  %1 - %2 (%3): the two differ by %4 m (dE %5, dN %6, dZ %7)</source>
        <translation>  %1 - %2 (%3): замеры расходятся на %4 м (ΔВ %5, ΔС %6, ΔH %7)</translation>
    </message>
    <message>
        <source>
Loops: %1 (Survex counts %2, the repeated legs among them)
</source>
        <translation>
Кольца: %1 (Survex насчитывает %2, включая повторённые замеры)
</translation>
    </message>
    <message>
        <source>  from %1 (%2): %3, %4
</source>
        <translation>  от %1 (%2): %3, %4
</translation>
    </message>
    <message>
        <source>placed where the drawings put it</source>
        <translation>поставлена там, где её помещают чертежи</translation>
    </message>
    <message>
        <source>drawn on other sheets than station 0, placed east of the rest</source>
        <translation>нарисована на других листах, чем пикет 0, поставлена восточнее остальных</translation>
    </message>
    <message>
        <source>
Likely ties (different names at one point of the plan and at one depth): %1
</source>
        <translation>
Вероятные привязки (разные метки в одной точке плана и на одной глубине): %1
</translation>
    </message>
    <message>
        <source>  %1 and %2 (%3): %4 m apart on the plan, depths %5 m apart
</source>
        <translation>  %1 и %2 (%3): на плане в %4 м друг от друга, глубины различаются на %5 м
</translation>
    </message>
    <message numerus="yes">
        <source>%n repeated legs that disagree</source>
        <translation>
            <numerusform>%n повторённый замер расходится</numerusform>
            <numerusform>%n повторённых замера расходятся</numerusform>
            <numerusform>%n повторённых замеров расходятся</numerusform>
        </translation>
    </message>
    <message>
        <source>, %1 m where a loop closes at %2 m per pixel on the plan</source>
        <translation>, %1 м на замыкание кольца при %2 м на пиксель на плане</translation>
    </message>
    <message>
        <source>
Legs whose plan and profile runs along the azimuth %1° disagree: </source>
        <translation>
Замеры, у которых проложения по азимуту %1° на плане и проекции расходятся: </translation>
    </message>
    <message>
        <source>
Passage dimensions that look wrong: %1
</source>
        <translation>
Размеры хода, похожие на ошибку: %1
</translation>
    </message>
    <message>
        <source>a value below zero
</source>
        <translation>значение меньше нуля
</translation>
    </message>
    <message>
        <source>
Stations without passage dimensions: %1 (%2)
</source>
        <translation>
Пикеты без размеров хода: %1 (%2)
</translation>
    </message>
    <message numerus="yes">
        <source>%n stations with wrong passage dimensions</source>
        <translation>
            <numerusform>%n пикет с ошибочными размерами хода</numerusform>
            <numerusform>%n пикета с ошибочными размерами хода</numerusform>
            <numerusform>%n пикетов с ошибочными размерами хода</numerusform>
        </translation>
    </message>
    <message>
        <source>plan %1</source>
        <translation>план %1</translation>
    </message>
    <message>
        <source>plan sheet %1</source>
        <translation>лист плана %1</translation>
    </message>
    <message>
        <source>profile %1</source>
        <translation>профиль %1</translation>
    </message>
    <message>
        <source>profile sheet %1</source>
        <translation>лист профиля %1</translation>
    </message>
    <message>
        <source>held against the other stations the sheets share, %1 m apart</source>
        <translation>сверен с другими общими пикетами листов, расхождение %1 м</translation>
    </message>
    <message>
        <source>
Sheets that share stations: %1
</source>
        <translation>
Листы с общими пикетами: %1
</translation>
    </message>
    <message numerus="yes">
        <source>%n shared stations</source>
        <translation>
            <numerusform>%n общий пикет</numerusform>
            <numerusform>%n общих пикета</numerusform>
            <numerusform>%n общих пикетов</numerusform>
        </translation>
    </message>
    <message>
        <source>, too few to compare
</source>
        <translation>, слишком мало для сравнения
</translation>
    </message>
    <message>
        <source>; %1 to %2 %3 m at %4° on %5, %6 m at %7° on %8</source>
        <translation>; %1 — %2: %3 м, %4° (%5); %6 м, %7° (%8)</translation>
    </message>
    <message>
        <source>; %1 to %2 %3 m apart in depth on %4, %5 m on %6</source>
        <translation>; %1 — %2: по глубине %3 м (%4); %5 м (%6)</translation>
    </message>
    <message>
        <source>; north on %1 %2° off (%3° allowed)</source>
        <translation>; север (%1) смещён на %2° (допустимо %3°)</translation>
    </message>
    <message>
        <source>; lengths on %1 %2 % off (%3 % allowed)</source>
        <translation>; длины (%1) отличаются на %2 % (допустимо %3 %)</translation>
    </message>
    <message>
        <source>: north and scale disagree</source>
        <translation>: север и масштаб не согласуются</translation>
    </message>
    <message>
        <source>: north disagrees</source>
        <translation>: север не согласуется</translation>
    </message>
    <message>
        <source>: scale disagrees</source>
        <translation>: масштаб не согласуется</translation>
    </message>
    <message>
        <source>%1 m apart (dE %2, dN %3)</source>
        <translation>расхождение %1 м (ΔВ %2, ΔС %3)</translation>
    </message>
    <message>
        <source>%1 m apart (dZ %2)</source>
        <translation>расхождение %1 м (ΔH %2)</translation>
    </message>
    <message>
        <source>%1 m wide, more than %3 times the %2 m beside it
</source>
        <translation>ширина %1 м, более чем в %3 раза больше соседней (%2 м)
</translation>
    </message>
    <message>
        <source>%1 m high, more than %3 times the %2 m beside it
</source>
        <translation>высота %1 м, более чем в %3 раза больше соседней (%2 м)
</translation>
    </message>
    <message numerus="yes">
        <source>%n pairs of sheets that disagree</source>
        <translation>
            <numerusform>%n пара листов не согласуется</numerusform>
            <numerusform>%n пары листов не согласуются</numerusform>
            <numerusform>%n пар листов не согласуются</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DataFileBox</name>
    <message>
        <source>Text data file</source>
        <translation>Файл данных съёмки</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Формат</translation>
    </message>
    <message>
        <source>Lumaro: Label</source>
        <translation>Lumaro: метки</translation>
    </message>
    <message>
        <source>Lumaro: FromTo</source>
        <translation>Lumaro: от-до</translation>
    </message>
    <message>
        <source>Survex</source>
        <translation>Survex</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>Стиль</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>DepthChange</source>
        <translation>Перепад</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохр.</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Сохр. как</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Сверка</translation>
    </message>
    <message>
        <source>Check the legs, loops and pieces of the survey</source>
        <translation>Проверить замеры, кольца и части съёмки</translation>
    </message>
    <message>
        <source>Survey data format</source>
        <translation>Формат данных съёмки</translation>
    </message>
    <message>
        <source>Survey data style</source>
        <translation>Стиль данных съёмки</translation>
    </message>
</context>
<context>
    <name>ExportFormats</name>
    <message>
        <source>Therion files (*.th)</source>
        <translation>Файлы Therion (*.th)</translation>
    </message>
    <message>
        <source>Compass files (*.dat)</source>
        <translation>Файлы Compass (*.dat)</translation>
    </message>
    <message>
        <source>Survex extend files: the extended profile as drawn (*.espec)</source>
        <translation>Файлы extend для Survex: развёрнутый разрез как нарисован (*.espec)</translation>
    </message>
    <message>
        <source>Google Earth KML, through Survex (*.kml)</source>
        <translation>Google Earth KML, через Survex (*.kml)</translation>
    </message>
    <message>
        <source>GPS GPX, through Survex (*.gpx)</source>
        <translation>GPS GPX, через Survex (*.gpx)</translation>
    </message>
    <message>
        <source>CAD drawing DXF, through Survex (*.dxf)</source>
        <translation>Чертёж CAD DXF, через Survex (*.dxf)</translation>
    </message>
    <message>
        <source>SVG drawing, through Survex (*.svg)</source>
        <translation>Рисунок SVG, через Survex (*.svg)</translation>
    </message>
    <message>
        <source>JSON, through Survex (*.json)</source>
        <translation>JSON, через Survex (*.json)</translation>
    </message>
    <message>
        <source>Compass PLT, through Survex (*.plt)</source>
        <translation>Compass PLT, через Survex (*.plt)</translation>
    </message>
    <message>
        <source>Survey data (*.cav *.svx)</source>
        <translation>Данные съёмки (*.cav *.svx)</translation>
    </message>
    <message>
        <source>All (*)</source>
        <translation>Все (*)</translation>
    </message>
</context>
<context>
    <name>Exporter</name>
    <message>
        <source>%1 is written by Survex, through Save Survey Data As.</source>
        <translation>%1 записывает Survex: через «Сохранить данные съёмки как».</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>Images (%1);;All (*)</source>
        <translation>Изображения (%1);;Все (*)</translation>
    </message>
    <message>
        <source>Speomark Project Files (*.sprj);;All (*)</source>
        <translation>Проекты Speomark (*.sprj);;Все (*)</translation>
    </message>
    <message>
        <source>Bitmaps (*.bmp);;All (*)</source>
        <translation>Рисунки BMP (*.bmp);;Все (*)</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Speomark - Help</source>
        <translation>Speomark - Справка</translation>
    </message>
</context>
<context>
    <name>ImageFile</name>
    <message>
        <source>Not a readable image: its header gives a size of %1 x %2 pixels.</source>
        <translation>Изображение не читается: его заголовок указывает размер %1 x %2 пикселей.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Не хватает памяти.</translation>
    </message>
    <message>
        <source>Unexpected end of file.</source>
        <translation>Неожиданный конец файла.</translation>
    </message>
    <message>
        <source>Its data end early.</source>
        <translation>Его данные обрываются раньше времени.</translation>
    </message>
    <message>
        <source>It is not a file.</source>
        <translation>Это не файл.</translation>
    </message>
</context>
<context>
    <name>ImageMessages</name>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 пикселей</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 ГБ</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 МБ</translation>
    </message>
    <message>
        <source>It is %1 and needs %2 of memory.</source>
        <translation>Его размер %1, ему нужно %2 памяти.</translation>
    </message>
    <message>
        <source>It is damaged.</source>
        <translation>Оно повреждено.</translation>
    </message>
    <message>
        <source>Not a readable image.</source>
        <translation>Это не читаемое изображение.</translation>
    </message>
    <message>
        <source>Cannot read plan image %1: %2</source>
        <translation>Не удаётся прочитать изображение плана %1: %2</translation>
    </message>
    <message>
        <source>Cannot read profile image %1: %2</source>
        <translation>Не удаётся прочитать изображение профиля %1: %2</translation>
    </message>
    <message>
        <source>The plan image %1 is %2 and needs %3 of memory. Open it?</source>
        <translation>Размер изображения плана %1 — %2, ему нужно %3 памяти. Открыть его?</translation>
    </message>
    <message>
        <source>The profile image %1 is %2 and needs %3 of memory. Open it?</source>
        <translation>Размер изображения профиля %1 — %2, ему нужно %3 памяти. Открыть его?</translation>
    </message>
    <message>
        <source>The plan image %1 is damaged: %2. Open the part that could be read?</source>
        <translation>Изображение плана %1 повреждено: %2. Открыть ту часть, что удалось прочитать?</translation>
    </message>
    <message>
        <source>The profile image %1 is damaged: %2. Open the part that could be read?</source>
        <translation>Изображение профиля %1 повреждено: %2. Открыть ту часть, что удалось прочитать?</translation>
    </message>
    <message>
        <source>its data are wrong</source>
        <translation>его данные неверны</translation>
    </message>
    <message>
        <source>Problems opening the Plan image: no file %1</source>
        <translation>Проблемы с открытием изображения Плана: нет файла %1</translation>
    </message>
    <message>
        <source>Problems opening the Profile image: no file %1</source>
        <translation>Проблемы с открытием изображения Профиля: нет файла %1</translation>
    </message>
</context>
<context>
    <name>LoadProgress</name>
    <message>
        <source>Opening</source>
        <translation>Открытие</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Out of memory</source>
        <translation>Не хватает памяти</translation>
    </message>
    <message>
        <source>Plan   /   Profile</source>
        <translation>План/Профиль</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>План</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Профиль</translation>
    </message>
    <message>
        <source>Plan / Profile</source>
        <translation>План / Профиль</translation>
    </message>
    <message>
        <source>Save left BMP</source>
        <translation>Левый в BMP</translation>
    </message>
    <message>
        <source>Save right BMP</source>
        <translation>Правый в BMP</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Save Project As</source>
        <translation>Проект как...</translation>
    </message>
    <message>
        <source>Close Project</source>
        <translation>Закр. проект</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>Open Plan (Left Image)</source>
        <translation>Открыть план (левое изображение)</translation>
    </message>
    <message>
        <source>Open Profile (Right Image)</source>
        <translation>Открыть профиль (правое изображение)</translation>
    </message>
    <message>
        <source>Open Existing Project</source>
        <translation>Открыть проект</translation>
    </message>
    <message>
        <source>Open Recent Project</source>
        <translation>Недавние проекты</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Сохранить проект</translation>
    </message>
    <message>
        <source>Survey Details...</source>
        <translation>Сведения о съёмке...</translation>
    </message>
    <message>
        <source>View Survey Data</source>
        <translation>Показать данные съёмки</translation>
    </message>
    <message>
        <source>Save Survey Data</source>
        <translation>Сохранить данные съёмки</translation>
    </message>
    <message>
        <source>Save Survey Data As</source>
        <translation>Сохранить данные съёмки как</translation>
    </message>
    <message>
        <source>Save Plan Picture</source>
        <translation>Сохранить рисунок плана</translation>
    </message>
    <message>
        <source>Save Profile Picture</source>
        <translation>Сохранить рисунок профиля</translation>
    </message>
    <message>
        <source>Close All</source>
        <translation>Закрыть всё</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Insert Station</source>
        <translation>Вставить пикет</translation>
    </message>
    <message>
        <source>Delete Station</source>
        <translation>Удалить пикет</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Увеличить</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Уменьшить</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Исходный размер</translation>
    </message>
    <message>
        <source>Measure Plan Scale</source>
        <translation>Измерить масштаб плана</translation>
    </message>
    <message>
        <source>Measure Profile Scale</source>
        <translation>Измерить масштаб профиля</translation>
    </message>
    <message>
        <source>Measure North on the Plan</source>
        <translation>Измерить север на плане</translation>
    </message>
    <message>
        <source>Survey Check</source>
        <translation>Проверка съёмки</translation>
    </message>
    <message>
        <source>3D View</source>
        <translation>3D-вид</translation>
    </message>
    <message>
        <source>Label Size</source>
        <translation>Размер подписей</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Мелкий</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Средний</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Крупный</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Как в системе</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Руководство</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>Пикеты</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Без имени</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Информация</translation>
    </message>
    <message>
        <source>Edit Survey Details</source>
        <translation>правку сведений о съёмке</translation>
    </message>
    <message>
        <source>Speomark: Confirm</source>
        <translation>Speomark: подтверждение</translation>
    </message>
    <message>
        <source>Problems opening the Plan image!</source>
        <translation>Проблемы с открытием изображения Плана!</translation>
    </message>
    <message>
        <source>Problems opening the Profile image!</source>
        <translation>Проблемы с открытием изображения Профиля!</translation>
    </message>
    <message>
        <source>A scan is still being read; wait for it or press Esc.</source>
        <translation>Скан ещё читается; дождитесь или нажмите Esc.</translation>
    </message>
    <message>
        <source>Speomark will speak this language from its next start.</source>
        <translation>Этот язык появится в Speomark при следующем запуске.</translation>
    </message>
    <message>
        <source>Plan sheets</source>
        <translation>Листы плана</translation>
    </message>
    <message>
        <source>Profile sheets</source>
        <translation>Листы профиля</translation>
    </message>
    <message>
        <source>Add Plan Sheet...</source>
        <translation>Добавить лист плана...</translation>
    </message>
    <message>
        <source>Add Profile Sheet...</source>
        <translation>Добавить лист профиля...</translation>
    </message>
    <message>
        <source>Rename Sheet...</source>
        <translation>Переименовать лист...</translation>
    </message>
    <message>
        <source>Remove Sheet</source>
        <translation>Удалить лист</translation>
    </message>
    <message>
        <source>Open in Aven</source>
        <translation>Открыть в Aven</translation>
    </message>
    <message>
        <source>Survex wrote %1</source>
        <translation>Survex записал %1</translation>
    </message>
    <message>
        <source>Speomark: Survex</source>
        <translation>Speomark: Survex</translation>
    </message>
    <message>
        <source>aven could not be started.</source>
        <translation>Не удалось запустить aven.</translation>
    </message>
    <message>
        <source>Survex is writing %1...</source>
        <translation>Survex записывает %1...</translation>
    </message>
    <message>
        <source>cavern is computing the survey for aven...</source>
        <translation>cavern обсчитывает съёмку для aven...</translation>
    </message>
    <message>
        <source>Add When Placed</source>
        <translation>Добавлять, когда пикет поставлен</translation>
    </message>
    <message>
        <source>Snap to Guides and Marks</source>
        <translation>Притягивать к направляющим и отметкам</translation>
    </message>
    <message>
        <source>Snap across Passages</source>
        <translation>Притягивать к середине хода</translation>
    </message>
    <message>
        <source>Keep the Last Station in View</source>
        <translation>Держать последний пикет на виду</translation>
    </message>
    <message>
        <source>Take Back the Station Added</source>
        <translation>Вернуть добавленный пикет</translation>
    </message>
    <message>
        <source>%1 drawing, scrolled</source>
        <translation>%1: чертёж с прокруткой</translation>
    </message>
    <message>
        <source>Add Station</source>
        <translation>Добавить пикет</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Cursor on the plan</source>
        <translation>Курсор на плане</translation>
    </message>
    <message>
        <source>Cursor on the profile</source>
        <translation>Курсор на развёртке</translation>
    </message>
    <message>
        <source>Edit Walls</source>
        <translation>Правка стен</translation>
    </message>
    <message>
        <source>Drag the marks of the selected station&apos;s walls; &lt; and &gt; choose the station.</source>
        <translation>Перетаскивайте отметки стен выбранного пикета; &lt; и &gt; выбирают пикет.</translation>
    </message>
    <message>
        <source>Find Walls</source>
        <translation>Найти стены</translation>
    </message>
    <message>
        <source>%1 cannot be removed, as its folder cannot be written: it will be offered again.</source>
        <translation>%1 нельзя удалить, так как в его папку нельзя записывать: он будет предложен снова.</translation>
    </message>
    <message>
        <source>Add Mode</source>
        <translation>Режим «Новые»</translation>
    </message>
    <message>
        <source>Move Mode</source>
        <translation>Режим «Правка»</translation>
    </message>
    <message>
        <source>New Branch</source>
        <translation>Новая ветка</translation>
    </message>
    <message>
        <source>Show Labels</source>
        <translation>Показывать подписи</translation>
    </message>
    <message>
        <source>Show Lines</source>
        <translation>Показывать линии</translation>
    </message>
    <message>
        <source>Move Grid</source>
        <translation>Сдвинуть сетку</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Вправо</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Влево</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Вверх</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Вниз</translation>
    </message>
</context>
<context>
    <name>ModeBox</name>
    <message>
        <source>Mode</source>
        <translation>Режим</translation>
    </message>
    <message>
        <source>Add new</source>
        <translation>Новые</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Правка</translation>
    </message>
    <message>
        <source>Show Labels</source>
        <translation>Подписи</translation>
    </message>
    <message>
        <source>Show Lines</source>
        <translation>Линии</translation>
    </message>
    <message>
        <source>3D view</source>
        <translation>3D-вид</translation>
    </message>
    <message>
        <source>Add when placed</source>
        <translation>Сразу добавлять</translation>
    </message>
    <message>
        <source>Add the station as soon as its points are placed, with the proposed label; Backspace or Undo takes it back</source>
        <translation>Добавлять пикет, как только поставлены его точки, с предложенной меткой; Backspace или отмена возвращают его</translation>
    </message>
</context>
<context>
    <name>NumberField</name>
    <message>
        <source>%1: &quot;%2&quot; is not a number; %3 stays in force.</source>
        <translation>%1: «%2» — не число; остаётся %3.</translation>
    </message>
    <message>
        <source>%1: %2 is outside %3 to %4; %5 stays in force.</source>
        <translation>%1: %2 вне пределов от %3 до %4; остаётся %5.</translation>
    </message>
</context>
<context>
    <name>NumberText</name>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>«%1» — неверное число</translation>
    </message>
</context>
<context>
    <name>NumberValidator</name>
    <message>
        <source>%1 takes only a whole number.</source>
        <translation>%1: здесь допустимо только целое число.</translation>
    </message>
    <message>
        <source>%1 takes only a number: digits, a sign, a decimal point and an exponent, as in 12.5 or 4.5e6.</source>
        <translation>%1: здесь допустимо только число: цифры, знак, десятичная точка и порядок, как 12.5 или 4.5e6.</translation>
    </message>
    <message>
        <source>%1 is not a number.</source>
        <translation>%1: это не число.</translation>
    </message>
    <message>
        <source>%1 must lie between %2 and %3.</source>
        <translation>%1: число должно лежать между %2 и %3.</translation>
    </message>
</context>
<context>
    <name>PaneInput</name>
    <message>
        <source>%1 ; %2 m</source>
        <translation>%1 ; %2 м</translation>
    </message>
    <message>
        <source>Now click the head of the north arrow.</source>
        <translation>Теперь щёлкните по острию стрелки севера.</translation>
    </message>
    <message>
        <source>Now click the other end of the scale bar.</source>
        <translation>Теперь щёлкните по другому концу масштабной линейки.</translation>
    </message>
    <message>
        <source>Click the tail of the plan&apos;s north arrow, then its head (Esc cancels).</source>
        <translation>Щёлкните по хвосту стрелки севера на плане, затем по её острию (Esc — отмена).</translation>
    </message>
    <message>
        <source>Click one end of the scale bar, then the other (Esc cancels).</source>
        <translation>Щёлкните по одному концу масштабной линейки, затем по другому (Esc — отмена).</translation>
    </message>
    <message>
        <source>The two ends are less than a pixel apart; click the ends of the bar.</source>
        <translation>Концы ближе пикселя друг к другу; щёлкните по концам линейки.</translation>
    </message>
    <message>
        <source>The distance you clicked is %1 pixels. How many metres is it?</source>
        <translation>Отмеченное расстояние — %1 пикселей. Сколько это метров?</translation>
    </message>
    <message>
        <source>A length of %1 metres cannot be a scale.</source>
        <translation>Длина %1 м не может задавать масштаб.</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Информация</translation>
    </message>
    <message>
        <source>Recalculate the metre positions of the %1 stations on sheet &quot;%2&quot; from their pixels with the new scale?</source>
        <translation>Пересчитать положение пикетов (%1) листа «%2» в метрах по их пикселям с новым масштабом?</translation>
    </message>
    <message>
        <source>Yes: these stations are measured again with the new scale.
No: they keep the metres of the old scale and only stations placed from now on use the new one; legs between the two are flagged by the survey check.</source>
        <translation>Да: эти пикеты измеряются заново с новым масштабом.
Нет: они сохраняют метры старого масштаба, а новый действует только для пикетов, поставленных дальше; замеры между теми и другими отмечает проверка съёмки.</translation>
    </message>
</context>
<context>
    <name>PdfFile</name>
    <message>
        <source>Not a readable PDF document.</source>
        <translation>Это не читаемый документ PDF.</translation>
    </message>
    <message>
        <source>The PDF document is protected by a password.</source>
        <translation>Документ PDF защищён паролем.</translation>
    </message>
    <message>
        <source>The PDF document has no pages.</source>
        <translation>В документе PDF нет страниц.</translation>
    </message>
    <message>
        <source>The PDF document has no page %1 (it has %2).</source>
        <translation>В документе PDF нет страницы %1 (всего страниц: %2).</translation>
    </message>
    <message>
        <source>Not a readable PDF page.</source>
        <translation>Страница PDF не читается.</translation>
    </message>
    <message>
        <source>The PDF page has no usable size at %1 dpi.</source>
        <translation>При %1 точках на дюйм у страницы PDF нет пригодного размера.</translation>
    </message>
    <message>
        <source>At %1 dpi the PDF page is %2 x %3 pixels and needs %4 of memory; this computer can hold %5.</source>
        <translation>При %1 точках на дюйм страница PDF имеет размер %2 x %3 пикселей, ей нужно %4 памяти; этот компьютер может выделить %5.</translation>
    </message>
    <message>
        <source>Choose %1 dpi or less.</source>
        <translation>Выберите не больше %1 точек на дюйм.</translation>
    </message>
</context>
<context>
    <name>PdfPageDialog</name>
    <message>
        <source>Open PDF Sheet</source>
        <translation>Открыть лист PDF</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Файл:</translation>
    </message>
    <message>
        <source> of %1</source>
        <translation> из %1</translation>
    </message>
    <message>
        <source>Page:</source>
        <translation>Страница:</translation>
    </message>
    <message>
        <source> dpi</source>
        <translation> точек/дюйм</translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation>Разрешение:</translation>
    </message>
    <message>
        <source>This computer can hold this page at up to %1 dpi.</source>
        <translation>Этот компьютер может открыть эту страницу с разрешением до %1 точек на дюйм.</translation>
    </message>
</context>
<context>
    <name>PdfRender</name>
    <message>
        <source>Not a readable PDF page.</source>
        <translation>Страница PDF не читается.</translation>
    </message>
    <message>
        <source>The PDF renderer %1 could not be started: %2.</source>
        <translation>Не удалось запустить программу отрисовки PDF %1: %2.</translation>
    </message>
    <message>
        <source>The PDF renderer %1 ended with status %2.</source>
        <translation>Программа отрисовки PDF %1 завершилась с кодом %2.</translation>
    </message>
    <message>
        <source>The PDF page cannot be drawn at %1 dpi within %2 of memory: it is too complex, or damaged.</source>
        <translation>Страницу PDF нельзя отрисовать при %1 точках на дюйм в пределах %2 памяти: она слишком сложна или повреждена.</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Не хватает памяти.</translation>
    </message>
</context>
<context>
    <name>ProjectContents</name>
    <message>
        <source>The project&apos;s survey details cannot be read: %1. The stations and settings were read; the details are left empty.</source>
        <translation>Сведения о съёмке в проекте не читаются: %1. Пикеты и настройки прочитаны; сведения оставлены пустыми.</translation>
    </message>
    <message>
        <source>The project&apos;s survey details cannot go into survey files as they stand: %1. They are kept in the project; survey files are written without them until they are put right in File &gt; Survey Details.</source>
        <translation>Сведения о съёмке в проекте нельзя записать в файлы съёмки в таком виде: %1. Они сохранены в проекте; файлы съёмки пишутся без них, пока их не исправят в меню «Файл», «Сведения о съёмке...».</translation>
    </message>
    <message>
        <source>The project&apos;s projection azimuth cannot be read; it is taken as 0 degrees. The stations and other settings were read.</source>
        <translation>Азимут проекции в проекте не читается; принят равным 0 градусов. Пикеты и остальные настройки прочитаны.</translation>
    </message>
    <message>
        <source>The project&apos;s passage dimensions cannot be read; the stations are left without them. The stations and other settings were read.</source>
        <translation>Размеры хода в проекте не удаётся прочитать; пикеты оставлены без них. Пикеты и остальные настройки прочитаны.</translation>
    </message>
    <message>
        <source>the sheet list is cut short</source>
        <translation>список листов оборван</translation>
    </message>
    <message>
        <source>the sheet list gives %1 sheets, where a project has 2 to %2</source>
        <translation>в списке листов указано %1 листов, а в проекте их от 2 до %2</translation>
    </message>
    <message>
        <source>the sheet list ends within sheet %1 of %2</source>
        <translation>список листов обрывается на листе %1 из %2</translation>
    </message>
    <message>
        <source>sheet %1 has the id %2 and kind %3, which no project has</source>
        <translation>у листа %1 номер %2 и вид %3, каких не бывает в проекте</translation>
    </message>
    <message>
        <source>sheet %1&apos;s zoom or pane width is out of range</source>
        <translation>масштаб показа или ширина панели листа %1 вне допустимых пределов</translation>
    </message>
    <message>
        <source>sheet %1&apos;s scale is out of range</source>
        <translation>масштаб листа %1 вне допустимых пределов</translation>
    </message>
    <message>
        <source>sheet %1&apos;s north &quot;%2&quot; is not a number</source>
        <translation>север листа %1 «%2» — не число</translation>
    </message>
    <message>
        <source>two sheets have the id %1</source>
        <translation>у двух листов один номер %1</translation>
    </message>
    <message>
        <source>the sheet list has no plan sheet</source>
        <translation>в списке листов нет листа плана</translation>
    </message>
    <message>
        <source>the sheet list has no profile sheet</source>
        <translation>в списке листов нет листа профиля</translation>
    </message>
    <message>
        <source>the list of each station&apos;s sheets is missing or cut short</source>
        <translation>список листов пикетов отсутствует или оборван</translation>
    </message>
    <message>
        <source>the list of each station&apos;s sheets names %1 stations, the project holds %2</source>
        <translation>в списке листов пикетов %1 пикетов, а в проекте %2</translation>
    </message>
    <message>
        <source>the list of each station&apos;s sheets ends at station %1 of %2</source>
        <translation>список листов пикетов обрывается на пикете %1 из %2</translation>
    </message>
    <message>
        <source>station %1 is on sheets %2 and %3, which the sheet list does not have as a plan and a profile</source>
        <translation>пикет %1 стоит на листах %2 и %3, которых нет в списке листов как плана и профиля</translation>
    </message>
    <message>
        <source>The project gives stations %1 a negative passage dimension, which no passage has; those values are left unknown. The rest was read.</source>
        <translation>В проекте у пикетов %1 отрицательный размер хода, какого не бывает; эти значения оставлены неизвестными. Остальное прочитано.</translation>
    </message>
</context>
<context>
    <name>ProjectExtras</name>
    <message>
        <source>its additional block is larger than %1 bytes</source>
        <translation>его дополнительный блок больше %1 байт</translation>
    </message>
    <message>
        <source>its additional block is cut short</source>
        <translation>его дополнительный блок обрезан</translation>
    </message>
    <message>
        <source>its additional block is damaged (its checksum does not match)</source>
        <translation>его дополнительный блок повреждён (не совпадает контрольная сумма)</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>Project file %1 cannot be used: %2.</source>
        <translation>Файл проекта %1 нельзя использовать: %2.</translation>
    </message>
    <message>
        <source>Cannot save project file %1: %2.</source>
        <translation>Не удаётся сохранить файл проекта %1: %2.</translation>
    </message>
    <message>
        <source>station record %1 of %2 holds a coordinate that is not a finite number</source>
        <translation>в записи пикета %1 из %2 координата — не конечное число</translation>
    </message>
    <message>
        <source>it is %1 bytes long, shorter than the %2-byte header</source>
        <translation>его длина %1 байт, меньше заголовка в %2 байт</translation>
    </message>
    <message>
        <source>it announces %1 stations but holds complete records for only %2</source>
        <translation>в нём объявлено пикетов: %1, а полных записей только %2</translation>
    </message>
    <message>
        <source>Project file %1: %2; the stations and settings were read.</source>
        <translation>Файл проекта %1: %2; пикеты и настройки прочитаны.</translation>
    </message>
    <message>
        <source>Cannot open project file %1: %2.</source>
        <translation>Не удаётся открыть файл проекта %1: %2.</translation>
    </message>
    <message>
        <source>Cannot read project file %1: %2.</source>
        <translation>Не удаётся прочитать файл проекта %1: %2.</translation>
    </message>
    <message>
        <source>the station count %1 is outside 0 to %2</source>
        <translation>число пикетов %1 вне пределов от 0 до %2</translation>
    </message>
    <message>
        <source>Cannot open project file %1: it is not a file.</source>
        <translation>Не удаётся открыть файл проекта %1: это не файл.</translation>
    </message>
    <message>
        <source>station %1: %2</source>
        <translation>пикет %1: %2</translation>
    </message>
    <message>
        <source>%1; it is not opened, so that no station is put on another sheet</source>
        <translation>%1; проект не открыт, чтобы ни один пикет не попал на другой лист</translation>
    </message>
</context>
<context>
    <name>ProjectFiles</name>
    <message>
        <source>Speomark: Confirm</source>
        <translation>Speomark: подтверждение</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened or saved here.

Replace it with this job? (No leaves the file as the other program saved it; Save Project As can keep both.)</source>
        <translation>%1 изменён другой программой после того, как был открыт или сохранён здесь.

Заменить его этой работой? (Нет — файл останется таким, каким его сохранила другая программа; «Сохранить проект как» сохранит оба.)</translation>
    </message>
    <message>
        <source>%1 is open in another Speomark window (process %2). If both save it, the changes of one are lost.

Open it here as well?</source>
        <translation>%1 открыт в другом окне Speomark (процесс %2). Если сохранить его в обоих, изменения одного пропадут.

Всё равно открыть его здесь?</translation>
    </message>
</context>
<context>
    <name>ProjectHeader</name>
    <message>
        <source>the %1 path holds characters that Windows-1251 cannot hold: %2</source>
        <translation>путь к %1 содержит символы, которых нет в кодировке Windows-1251: %2</translation>
    </message>
    <message>
        <source>the %1 path holds a zero character</source>
        <translation>путь к %1 содержит нулевой символ</translation>
    </message>
    <message>
        <source>the %1 path is %2 bytes long in Windows-1251, but the project file holds at most %3</source>
        <translation>путь к %1 занимает %2 байт в кодировке Windows-1251, а файл проекта вмещает не больше %3</translation>
    </message>
    <message>
        <source>plan image</source>
        <translation>изображению плана</translation>
    </message>
    <message>
        <source>profile image</source>
        <translation>изображению профиля</translation>
    </message>
    <message>
        <source>its station count is %1</source>
        <translation>число пикетов в нём равно %1</translation>
    </message>
    <message>
        <source>plan</source>
        <translation>плана</translation>
    </message>
    <message>
        <source>profile</source>
        <translation>профиля</translation>
    </message>
    <message>
        <source>its %1 image path is longer than the %2 bytes its field holds</source>
        <translation>путь к изображению %1 длиннее %2 байт, которые вмещает его поле</translation>
    </message>
    <message>
        <source>plan zoom</source>
        <translation>увеличение плана</translation>
    </message>
    <message>
        <source>profile zoom</source>
        <translation>увеличение профиля</translation>
    </message>
    <message>
        <source>plan pane fraction</source>
        <translation>доля окна плана</translation>
    </message>
    <message>
        <source>profile pane fraction</source>
        <translation>доля окна профиля</translation>
    </message>
    <message>
        <source>plan grid cell size</source>
        <translation>размер ячейки сетки плана</translation>
    </message>
    <message>
        <source>profile grid cell size</source>
        <translation>размер ячейки сетки профиля</translation>
    </message>
    <message>
        <source>plan scale</source>
        <translation>масштаб плана</translation>
    </message>
    <message>
        <source>profile scale</source>
        <translation>масштаб профиля</translation>
    </message>
    <message>
        <source>plan grid metres entry</source>
        <translation>поле метров сетки плана</translation>
    </message>
    <message>
        <source>plan grid pixels entry</source>
        <translation>поле пикселей сетки плана</translation>
    </message>
    <message>
        <source>profile grid metres entry</source>
        <translation>поле метров сетки профиля</translation>
    </message>
    <message>
        <source>profile grid pixels entry</source>
        <translation>поле пикселей сетки профиля</translation>
    </message>
    <message>
        <source>plan orientation entry</source>
        <translation>поле ориентации плана</translation>
    </message>
    <message>
        <source>its %1 is not a finite number</source>
        <translation>%1 — не конечное число</translation>
    </message>
    <message>
        <source>its %1 is %2, outside 1/32 to 8</source>
        <translation>%1 равно %2, вне пределов от 1/32 до 8</translation>
    </message>
    <message>
        <source>its %1 is %2, outside 0 to 1</source>
        <translation>%1 равно %2, вне пределов от 0 до 1</translation>
    </message>
    <message>
        <source>its %1 is %2, outside 0 to 100000 metres per pixel</source>
        <translation>%1 равно %2, вне пределов от 0 до 100000 метров на пиксель</translation>
    </message>
    <message>
        <source>its data format index is %1, not 0, 1 or 2</source>
        <translation>номер формата данных в нём равен %1, а не 0, 1 или 2</translation>
    </message>
    <message>
        <source>its data style index is %1, not 0 or 1</source>
        <translation>номер стиля данных в нём равен %1, а не 0 или 1</translation>
    </message>
</context>
<context>
    <name>ProjectLock</name>
    <message>
        <source>Another Speomark opening %1 will not be warned: %2 cannot be written.</source>
        <translation>Другой Speomark, открывающий %1, не будет предупреждён: в %2 нельзя записывать.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестен</translation>
    </message>
</context>
<context>
    <name>ProjectionBoxes</name>
    <message>
        <source>Plan</source>
        <translation>План</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Север, °</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Профиль</translation>
    </message>
    <message>
        <source>Extended</source>
        <translation>Развёртка</translation>
    </message>
    <message>
        <source>Projective</source>
        <translation>Проекция</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Azimuth, °</source>
        <translation>Азимут, °</translation>
    </message>
    <message>
        <source>Projection azimuth</source>
        <translation>Азимут проекции</translation>
    </message>
</context>
<context>
    <name>QtDialogService</name>
    <message>
        <source>Locate...</source>
        <translation>Найти...</translation>
    </message>
    <message>
        <source>Speomark: Recover Unsaved Work</source>
        <translation>Speomark: восстановление несохранённой работы</translation>
    </message>
    <message>
        <source>Speomark did not close properly and left this unsaved work. Choose for each job: recover it (each in a window of its own), keep it to be offered at the next start, or discard it for good.</source>
        <translation>Speomark закрылся некорректно и оставил эту несохранённую работу. Выберите для каждой: восстановить (каждую в своём окне), оставить до следующего запуска или удалить насовсем.</translation>
    </message>
    <message>
        <source>Unsaved work left behind</source>
        <translation>Оставшаяся несохранённая работа</translation>
    </message>
    <message>
        <source>Project</source>
        <translation>Проект</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Сохранено</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>Пикеты</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Действие</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Оставить</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Восстановить</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Action for %1, %2</source>
        <translation>Действие для %1, %2</translation>
    </message>
</context>
<context>
    <name>RecoveryFile</name>
    <message>
        <source>%1 ends before what was being typed and the project the work belongs to</source>
        <translation>%1 обрывается раньше, чем записано набранное и проект, к которому относится работа</translation>
    </message>
    <message>
        <source>No recovery file can be kept: the folder %1 cannot be made.</source>
        <translation>Файл восстановления вести нельзя: не удаётся создать папку %1.</translation>
    </message>
    <message>
        <source>No recovery file can be kept: the folder %1 cannot be written.</source>
        <translation>Файл восстановления вести нельзя: в папку %1 нельзя записывать.</translation>
    </message>
    <message>
        <source>No recovery file can be kept: %1 holds %2 left behind.</source>
        <translation>Файл восстановления вести нельзя: в %1 уже %2 оставшихся файлов.</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>Work left behind by a Speomark that did not close cannot be read back: %1.

Its file was set aside as %2 and will not be offered again.</source>
        <translation>Работу, оставшуюся после незакрытого Speomark, не удаётся прочитать: %1.

Её файл отложен как %2 и больше предлагаться не будет.</translation>
    </message>
    <message>
        <source>A new project, never saved</source>
        <translation>Новый проект, ещё не сохранявшийся</translation>
    </message>
    <message>
        <source>Recover unsaved work from %1?</source>
        <translation>Восстановить несохранённую работу от %1?</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n stations.</source>
        <translation>
            <numerusform>%1: %n пикет.</numerusform>
            <numerusform>%1: %n пикета.</numerusform>
            <numerusform>%1: %n пикетов.</numerusform>
        </translation>
    </message>
    <message>
        <source>Discard this work for good? It cannot be brought back.

No keeps it, to be offered again at the next start.</source>
        <translation>Выбросить эту работу совсем? Вернуть её будет нельзя.

Нет — сохранить её, чтобы предложить снова при следующем запуске.</translation>
    </message>
    <message>
        <source>These files cannot be removed, as their folder cannot be written; they will be offered again:
%1</source>
        <translation>Эти файлы нельзя удалить, так как в их папку нельзя записывать; они будут предложены снова:
%1</translation>
    </message>
</context>
<context>
    <name>ScaleCalibration</name>
    <message>
        <source>Change Plan Scale</source>
        <translation>смену масштаба плана</translation>
    </message>
    <message>
        <source>Change Profile Scale</source>
        <translation>смену масштаба профиля</translation>
    </message>
    <message>
        <source>Set Plan Scale</source>
        <translation>масштаб плана</translation>
    </message>
    <message>
        <source>Set Profile Scale</source>
        <translation>масштаб профиля</translation>
    </message>
    <message>
        <source>Measure Plan Scale</source>
        <translation>измерение масштаба плана</translation>
    </message>
    <message>
        <source>Measure Profile Scale</source>
        <translation>измерение масштаба профиля</translation>
    </message>
    <message>
        <source>Enter correct scale values for the Plan!</source>
        <translation>Введите корректно значения масштаба для Плана!</translation>
    </message>
    <message>
        <source>Enter correct scale values for the Profile!</source>
        <translation>Введите корректно значения масштаба для Профиля!</translation>
    </message>
    <message>
        <source>The number of pixels for the Plan cannot be zero!</source>
        <translation>Значение количества пикселей для Плана не может быть нулевым!</translation>
    </message>
    <message>
        <source>The number of pixels for the Profile cannot be zero!</source>
        <translation>Значение количества пикселей для Профиля не может быть нулевым!</translation>
    </message>
</context>
<context>
    <name>SheetAlignment</name>
    <message>
        <source>The sheet shares %1 station with the others; two or more are needed.</source>
        <translation>Общих пикетов с другими листами: %1; нужно не меньше двух.</translation>
    </message>
    <message>
        <source>Station %1 has a position that is not a number.</source>
        <translation>Положение пикета %1 не является числом.</translation>
    </message>
    <message>
        <source>The sheet&apos;s scale is not a number.</source>
        <translation>Масштаб листа не является числом.</translation>
    </message>
    <message>
        <source>The stations the sheet shares are drawn at one point, or placed at one point by the others: they give no direction.</source>
        <translation>Общие пикеты листа нарисованы в одной точке или помещены другими листами в одну точку: направления они не дают.</translation>
    </message>
    <message>
        <source>The stations the sheet shares give no scale.</source>
        <translation>Общие пикеты листа не дают масштаба.</translation>
    </message>
    <message>
        <source>The stations the sheet shares are drawn at one depth: they give no scale.</source>
        <translation>Общие пикеты листа нарисованы на одной глубине: масштаба они не дают.</translation>
    </message>
    <message>
        <source>The stations the sheet shares rise where the others put them falling: they give no scale.</source>
        <translation>Общие пикеты листа поднимаются там, где на другом листе опускаются: масштаба они не дают.</translation>
    </message>
    <message>
        <source>The sheet has no scale yet.</source>
        <translation>У листа ещё нет масштаба.</translation>
    </message>
</context>
<context>
    <name>SheetCommands</name>
    <message>
        <source>Name of the sheet:</source>
        <translation>Название листа:</translation>
    </message>
    <message>
        <source>Speomark: Confirm</source>
        <translation>Speomark: подтверждение</translation>
    </message>
    <message numerus="yes">
        <source>Sheet %1 holds %n stations. Remove the sheet and its stations?</source>
        <translation>
            <numerusform>На листе %1 %n пикет. Удалить лист вместе с пикетами?</numerusform>
            <numerusform>На листе %1 %n пикета. Удалить лист вместе с пикетами?</numerusform>
            <numerusform>На листе %1 %n пикетов. Удалить лист вместе с пикетами?</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (no scale)</source>
        <translation>%1 (нет масштаба)</translation>
    </message>
</context>
<context>
    <name>StationBox</name>
    <message>
        <source>New Station</source>
        <translation>Новый пикет</translation>
    </message>
    <message>
        <source>Label/Number</source>
        <translation>Метка/номер</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Примеч.</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Внести</translation>
    </message>
    <message>
        <source>New branch</source>
        <translation>Новая ветка</translation>
    </message>
    <message>
        <source>Previous station</source>
        <translation>Предыдущий пикет</translation>
    </message>
    <message>
        <source>Next station</source>
        <translation>Следующий пикет</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Встав.</translation>
    </message>
    <message>
        <source>Put a new station in before this one</source>
        <translation>Вставить новый пикет перед этим</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Убрать</translation>
    </message>
    <message>
        <source>Delete this station</source>
        <translation>Удалить этот пикет</translation>
    </message>
    <message>
        <source>Move Station</source>
        <translation>Правка пикета</translation>
    </message>
    <message>
        <source>Insert Station</source>
        <translation>Вставка пикета</translation>
    </message>
    <message>
        <source>Add Station</source>
        <translation>Добавление пикета</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>StationEditor</name>
    <message>
        <source>The characters &quot;%1&quot; cannot be stored in a station&apos;s label or comment.</source>
        <translation>Символы «%1» нельзя сохранить в метке или примечании пикета.</translation>
    </message>
    <message>
        <source>Too many stations. To continue save this and open new project.</source>
        <translation>Слишком много пикетов. Чтобы продолжить, сохраните этот проект и откройте новый.</translation>
    </message>
    <message>
        <source>Move Station %1</source>
        <translation>перемещение пикета %1</translation>
    </message>
    <message>
        <source>Place Plan Point</source>
        <translation>точку на плане</translation>
    </message>
    <message>
        <source>Place Profile Point</source>
        <translation>точку на профиле</translation>
    </message>
    <message>
        <source>Edit Station %1</source>
        <translation>правку пикета %1</translation>
    </message>
    <message>
        <source>Insert Station %1</source>
        <translation>вставку пикета %1</translation>
    </message>
    <message>
        <source>Add Station %1</source>
        <translation>добавление пикета %1</translation>
    </message>
    <message>
        <source>Set Profile Kind</source>
        <translation>выбор вида профиля</translation>
    </message>
    <message>
        <source>Set Plan Orientation</source>
        <translation>ориентацию плана</translation>
    </message>
    <message>
        <source>Recalculate Station Positions</source>
        <translation>пересчёт положения пикетов</translation>
    </message>
    <message>
        <source>Delete Station %1</source>
        <translation>удаление пикета %1</translation>
    </message>
    <message>
        <source>Rename Station %1</source>
        <translation>переименование пикета %1</translation>
    </message>
    <message>
        <source>A station&apos;s label cannot hold a line break, a tab or another control character.</source>
        <translation>Метка пикета не может содержать перевод строки, табуляцию или другой управляющий символ.</translation>
    </message>
    <message>
        <source>A station&apos;s comment cannot hold a line break, a tab or another control character.</source>
        <translation>Примечание пикета не может содержать перевод строки, табуляцию или другой управляющий символ.</translation>
    </message>
    <message>
        <source>Station %1 lies on another profile sheet than station %2 before it, and a leg cannot run from one sheet to another. To go on on this sheet, tick &quot;New branch&quot; and place station %2 again here, with the same label: the two are then tied.</source>
        <translation>Пикет %1 лежит на другом листе профиля, чем предыдущий пикет %2, а замер не может переходить с листа на лист. Чтобы продолжить на этом листе, отметьте «Новая ветка» и поставьте здесь пикет %2 ещё раз с той же меткой: они будут связаны.</translation>
    </message>
    <message>
        <source>Station %1 lies on another plan sheet than station %2 before it, and a leg cannot run from one sheet to another. To go on on this sheet, tick &quot;New branch&quot; and place station %2 again here, with the same label: the two are then tied.</source>
        <translation>Пикет %1 лежит на другом листе плана, чем предыдущий пикет %2, а замер не может переходить с листа на лист. Чтобы продолжить на этом листе, отметьте «Новая ветка» и поставьте здесь пикет %2 ещё раз с той же меткой: они будут связаны.</translation>
    </message>
    <message>
        <source>Make %1 a Tie with %2</source>
        <translation>привязку %1 к %2</translation>
    </message>
    <message>
        <source>Set Projection Azimuth</source>
        <translation>азимут проекции</translation>
    </message>
    <message>
        <source>Set Walls of Station %1</source>
        <translation>Задать стены пикета %1</translation>
    </message>
    <message>
        <source>Find Walls</source>
        <translation>поиск стен</translation>
    </message>
    <message>
        <source>A north of %1 degrees is outside -%2 to %2.</source>
        <translation>Север %1° вне пределов от -%2 до %2.</translation>
    </message>
    <message>
        <source>An azimuth of %1 degrees is outside -%2 to %2.</source>
        <translation>Азимут %1° вне пределов от -%2 до %2.</translation>
    </message>
    <message>
        <source>A passage dimension must be a number of metres between 0 and %1.</source>
        <translation>Размер хода должен быть числом метров от 0 до %1.</translation>
    </message>
    <message>
        <source>Station %1 is drawn on sheet &quot;%2&quot;: show that sheet to move it.</source>
        <translation>Пикет %1 нарисован на листе «%2»: покажите этот лист, чтобы его передвинуть.</translation>
    </message>
</context>
<context>
    <name>StationRecord</name>
    <message>
        <source>&quot;%1&quot; holds characters a project file cannot: &quot;%2&quot;</source>
        <translation>«%1» содержит символы, которые файл проекта не может хранить: «%2»</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is longer than the %2 characters a project file holds</source>
        <translation>«%1» длиннее %2 символов, которые вмещает файл проекта</translation>
    </message>
</context>
<context>
    <name>StationsList</name>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Метка</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Примечание</translation>
    </message>
    <message>
        <source>Branch end</source>
        <translation>Конец ветки</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>Пикеты</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>да</translation>
    </message>
</context>
<context>
    <name>SurvexExport</name>
    <message>
        <source>cavern did not finish within %1 seconds and was stopped.</source>
        <translation>cavern не закончил работу за %1 с и был остановлен.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Прервано.</translation>
    </message>
    <message>
        <source>cavern refused the survey (exit status %1):

%2</source>
        <translation>cavern не принял съёмку (код завершения %1):

%2</translation>
    </message>
    <message>
        <source>survexport is not installed: sudo apt-get install survex-aven</source>
        <translation>survexport не установлен: sudo apt-get install survex-aven</translation>
    </message>
    <message>
        <source>survexport did not finish within %1 seconds and was stopped.</source>
        <translation>survexport не закончил работу за %1 с и был остановлен.</translation>
    </message>
    <message>
        <source>survexport could not be started: %1</source>
        <translation>Не удалось запустить survexport: %1</translation>
    </message>
    <message>
        <source>survexport could not write %1:

%2</source>
        <translation>survexport не смог записать %1:

%2</translation>
    </message>
    <message>
        <source>survexport wrote no file for %1 (%2). Any earlier file of that name is unchanged.</source>
        <translation>survexport не записал файл для %1 (%2). Прежний файл с этим именем не изменён.</translation>
    </message>
    <message>
        <source>survexport&apos;s file for %1 ends early (%2 bytes): the disk may be full. Any earlier file of that name is unchanged.</source>
        <translation>Файл survexport для %1 оборван (%2 байт): возможно, диск заполнен. Прежний файл с этим именем не изменён.</translation>
    </message>
    <message>
        <source>Cannot read survexport&apos;s file for %1: %2. Any earlier file of that name is unchanged.</source>
        <translation>Не удаётся прочитать файл survexport для %1: %2. Прежний файл с этим именем не изменён.</translation>
    </message>
</context>
<context>
    <name>SurvexExtend</name>
    <message>
        <source>The profile is not an extended one: it has no folds for Survex&apos;s extend to follow.</source>
        <translation>Разрез не развёрнутый: у него нет изгибов, которым мог бы следовать extend из Survex.</translation>
    </message>
</context>
<context>
    <name>SurveyCheckWindow</name>
    <message>
        <source>Survey Check</source>
        <translation>Проверка съёмки</translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation>Допуск:</translation>
    </message>
    <message>
        <source> m</source>
        <translation> м</translation>
    </message>
    <message>
        <source>Tolerance in metres</source>
        <translation>Допуск в метрах</translation>
    </message>
    <message>
        <source>or</source>
        <translation>или</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Tolerance in percent of the longer length</source>
        <translation>Допуск в процентах от большей длины</translation>
    </message>
    <message>
        <source>of the longer length, whichever is larger</source>
        <translation>от большей длины, что больше</translation>
    </message>
    <message>
        <source>Show disagreement</source>
        <translation>Показать расхождения</translation>
    </message>
    <message>
        <source>Colour the flagged legs orange on the plan and the profile</source>
        <translation>Выделить отмеченные замеры оранжевым на плане и развёртке</translation>
    </message>
    <message>
        <source>Check with Survex</source>
        <translation>Проверить в Survex</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Cancel the Survex check</source>
        <translation>Прервать проверку в Survex</translation>
    </message>
    <message>
        <source>Survex is working</source>
        <translation>Survex работает</translation>
    </message>
    <message>
        <source>Check result</source>
        <translation>Итог проверки</translation>
    </message>
    <message>
        <source>From</source>
        <translation>От</translation>
    </message>
    <message>
        <source>To</source>
        <translation>До</translation>
    </message>
    <message>
        <source>Tape m</source>
        <translation>Длина м</translation>
    </message>
    <message>
        <source>Compass °</source>
        <translation>Азимут °</translation>
    </message>
    <message>
        <source>Clino °</source>
        <translation>Угол °</translation>
    </message>
    <message>
        <source>Depth change m</source>
        <translation>Перепад м</translation>
    </message>
    <message>
        <source>Plan horiz. m</source>
        <translation>Гориз. план м</translation>
    </message>
    <message>
        <source>Profile horiz. m</source>
        <translation>Гориз. развёртка м</translation>
    </message>
    <message>
        <source>Difference m</source>
        <translation>Разница м</translation>
    </message>
    <message>
        <source>Difference %</source>
        <translation>Разница %</translation>
    </message>
    <message>
        <source>Flag</source>
        <translation>Отметка</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Примечание</translation>
    </message>
    <message>
        <source>Legs</source>
        <translation>Замеры</translation>
    </message>
    <message>
        <source>Loops</source>
        <translation>Кольца</translation>
    </message>
    <message>
        <source>Closed at</source>
        <translation>Замкнуто на</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Строка</translation>
    </message>
    <message>
        <source>dE m</source>
        <translation>ΔВ м</translation>
    </message>
    <message>
        <source>dN m</source>
        <translation>ΔС м</translation>
    </message>
    <message>
        <source>dZ m</source>
        <translation>ΔH м</translation>
    </message>
    <message>
        <source>Misclosure m</source>
        <translation>Невязка м</translation>
    </message>
    <message>
        <source>Loop length m</source>
        <translation>Длина кольца м</translation>
    </message>
    <message>
        <source>Error %</source>
        <translation>Ошибка %</translation>
    </message>
    <message>
        <source>Pieces</source>
        <translation>Части</translation>
    </message>
    <message>
        <source>First station</source>
        <translation>Первый пикет</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>Пикеты</translation>
    </message>
    <message>
        <source>Tied</source>
        <translation>Связана</translation>
    </message>
    <message>
        <source>Likely ties</source>
        <translation>Вероятные привязки</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Пикет</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Отчёт</translation>
    </message>
    <message>
        <source>Survex messages</source>
        <translation>Сообщения Survex</translation>
    </message>
    <message>
        <source>Survey check</source>
        <translation>Проверка съёмки</translation>
    </message>
    <message>
        <source>Survex</source>
        <translation>Survex</translation>
    </message>
    <message numerus="yes">
        <source>%n legs</source>
        <translation>
            <numerusform>%n замер</numerusform>
            <numerusform>%n замера</numerusform>
            <numerusform>%n замеров</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n loops</source>
        <translation>
            <numerusform>%n кольцо</numerusform>
            <numerusform>%n кольца</numerusform>
            <numerusform>%n колец</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n pieces</source>
        <translation>
            <numerusform>%n часть</numerusform>
            <numerusform>%n части</numerusform>
            <numerusform>%n частей</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; the survey cannot be checked.</source>
        <translation>%1; съёмку не проверить.</translation>
    </message>
    <message>
        <source>disagrees</source>
        <translation>расходится</translation>
    </message>
    <message>
        <source>zero length</source>
        <translation>нулевая длина</translation>
    </message>
    <message>
        <source>beyond tolerance</source>
        <translation>больше допуска</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>да</translation>
    </message>
    <message>
        <source>not tied</source>
        <translation>не связана</translation>
    </message>
    <message>
        <source>%1; the Survex text cannot be made.</source>
        <translation>%1; текст для Survex не составить.</translation>
    </message>
    <message>
        <source>%1 in the leg from station %2 to station %3; the Survex text cannot be made.</source>
        <translation>%1 в замере от пикета %2 до пикета %3; текст для Survex не составить.</translation>
    </message>
    <message>
        <source>cavern is reading the survey...</source>
        <translation>cavern читает съёмку...</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Прервано.</translation>
    </message>
    <message>
        <source>cavern found errors (exit status %1):

%2</source>
        <translation>cavern нашёл ошибки (код завершения %1):

%2</translation>
    </message>
    <message>
        <source>
Everything cavern printed:

</source>
        <translation>
Всё, что вывел cavern:

</translation>
    </message>
    <message>
        <source>Clicks within</source>
        <translation>Щелчки в пределах</translation>
    </message>
    <message>
        <source>Tolerance from the drawings&apos; scales</source>
        <translation>Допуск по масштабам чертежей</translation>
    </message>
    <message>
        <source>A leg or a loop may be off by what clicks this far from the drawn marks come to at each sheet&apos;s scale</source>
        <translation>Замер или кольцо могут расходиться на столько, сколько дают щелчки на таком удалении от нарисованных отметок в масштабе каждого листа</translation>
    </message>
    <message>
        <source> px</source>
        <translation> пикс.</translation>
    </message>
    <message>
        <source>Tolerance in pixels of a click</source>
        <translation>Допуск в пикселях щелчка</translation>
    </message>
    <message>
        <source>Tolerance from the drawings in metres</source>
        <translation>Допуск по чертежам в метрах</translation>
    </message>
    <message>
        <source>else</source>
        <translation>иначе</translation>
    </message>
    <message>
        <source>Make a Tie</source>
        <translation>Связать</translation>
    </message>
    <message>
        <source>Make the chosen likely tie one station</source>
        <translation>Сделать выбранную вероятную привязку одним пикетом</translation>
    </message>
    <message>
        <source>Gives the second station the first one&apos;s name, so the survey is joined there</source>
        <translation>Даёт второму пикету метку первого, и съёмка соединяется в этом месте</translation>
    </message>
    <message>
        <source>Likely ties: stations with different names at one point of the plan and at one depth, not joined by a leg</source>
        <translation>Вероятные привязки: пикеты с разными метками в одной точке плана и на одной глубине, не соединённые замером</translation>
    </message>
    <message>
        <source>(%1 m on a leg)</source>
        <translation>(%1 м на замер)</translation>
    </message>
    <message>
        <source>Show the adjustment on the drawings</source>
        <translation>Показать уравнивание на чертежах</translation>
    </message>
    <message>
        <source>An arrow from each station to where Survex puts it once the loops are adjusted (on the profile, the vertical part)</source>
        <translation>Стрелка от каждого пикета туда, куда его ставит Survex после уравнивания колец (на развёртке — вертикальная часть)</translation>
    </message>
    <message>
        <source>Magnification of the adjustment&apos;s arrows</source>
        <translation>Увеличение стрелок уравнивания</translation>
    </message>
    <message>
        <source>Traverses adjusted in loops</source>
        <translation>Ходы, уравненные в кольцах</translation>
    </message>
    <message>
        <source>Traverse</source>
        <translation>Ход</translation>
    </message>
    <message>
        <source>Length m</source>
        <translation>Длина м</translation>
    </message>
    <message>
        <source>Moved m</source>
        <translation>Сдвиг м</translation>
    </message>
    <message>
        <source>Deviations per leg</source>
        <translation>Откл. на замер</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>По горизонтали</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>По вертикали</translation>
    </message>
    <message>
        <source>Left m</source>
        <translation>Влево м</translation>
    </message>
    <message>
        <source>Right m</source>
        <translation>Вправо м</translation>
    </message>
    <message>
        <source>Up m</source>
        <translation>Вверх м</translation>
    </message>
    <message>
        <source>Down m</source>
        <translation>Вниз м</translation>
    </message>
</context>
<context>
    <name>SurveyDetails</name>
    <message>
        <source>the cave&apos;s name</source>
        <translation>название пещеры</translation>
    </message>
    <message>
        <source>the tape</source>
        <translation>рулетка</translation>
    </message>
    <message>
        <source>the compass</source>
        <translation>компас</translation>
    </message>
    <message>
        <source>the clinometer</source>
        <translation>клинометр</translation>
    </message>
    <message>
        <source>the scans&apos; source</source>
        <translation>источник сканов</translation>
    </message>
    <message>
        <source>the entrance</source>
        <translation>вход</translation>
    </message>
    <message>
        <source>the team member &quot;%1&quot;</source>
        <translation>участник «%1»</translation>
    </message>
    <message>
        <source>The survey files cannot hold the characters &quot;%1&quot; of %2.</source>
        <translation>Файлы съёмки не могут хранить символы «%1» (поле: %2).</translation>
    </message>
    <message>
        <source>Survey files cannot hold a double quote (&quot;) in %1: use « » or &apos; instead.</source>
        <translation>Файлы съёмки не могут хранить двойную кавычку (&quot;) (поле: %1): используйте « » или &apos;.</translation>
    </message>
    <message>
        <source>There is a line break or another control character in %1.</source>
        <translation>Перенос строки или другой управляющий символ (поле: %1).</translation>
    </message>
    <message>
        <source>Team member %1 has no name.</source>
        <translation>У участника %1 нет имени.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a role %2 can have; the roles are: %3.</source>
        <translation>«%1» — не роль, которую может иметь %2; роли: %3.</translation>
    </message>
    <message>
        <source>The declination must be a number of degrees from -180 to 180.</source>
        <translation>Склонение должно быть числом градусов от -180 до 180.</translation>
    </message>
    <message>
        <source>Coordinates are given but no entrance station is chosen.</source>
        <translation>Координаты указаны, но пикет входа не выбран.</translation>
    </message>
    <message>
        <source>The entrance&apos;s coordinates need their coordinate system: an EPSG code such as 32637.</source>
        <translation>Координатам входа нужна система координат: код EPSG, например 32637.</translation>
    </message>
    <message>
        <source>A declination from date and place needs the survey date and the entrance&apos;s coordinates.</source>
        <translation>Для склонения по дате и месту нужны дата съёмки и координаты входа.</translation>
    </message>
    <message>
        <source>they are cut short</source>
        <translation>они обрезаны</translation>
    </message>
    <message>
        <source>they were written by a newer Speomark, version %1 of the details</source>
        <translation>они записаны более новой версией Speomark (версия сведений %1)</translation>
    </message>
    <message>
        <source>the team&apos;s size is damaged</source>
        <translation>повреждено число участников</translation>
    </message>
    <message>
        <source>unexpected bytes follow them</source>
        <translation>за ними идут лишние байты</translation>
    </message>
    <message>
        <source>the north reference is damaged</source>
        <translation>повреждён вид севера</translation>
    </message>
    <message>
        <source>a team member&apos;s name</source>
        <translation>имя участника</translation>
    </message>
    <message>
        <source>a team member&apos;s roles</source>
        <translation>роли участника</translation>
    </message>
    <message>
        <source>One of the numbers of the survey details is not a number.</source>
        <translation>Одно из чисел сведений о съёмке — не число.</translation>
    </message>
    <message>
        <source>The team member &quot;%1&quot; has more than one &quot;/&quot;: Therion reads the one &quot;/&quot; as the start of the surname.</source>
        <translation>В имени участника «%1» больше одного «/»: Therion читает единственный «/» как начало фамилии.</translation>
    </message>
    <message>
        <source>EPSG:%1 (%2) is not a projected coordinate system in metres, which Survex needs; a UTM zone such as EPSG:32637 is one.</source>
        <translation>EPSG:%1 (%2) — не проекционная система координат в метрах, а Survex нужна именно такая; например, зона UTM, как EPSG:32637.</translation>
    </message>
    <message>
        <source>The entrance&apos;s coordinates must lie between -%1 and %1 m.</source>
        <translation>Координаты входа должны лежать между -%1 и %1 м.</translation>
    </message>
    <message>
        <source>The entrance&apos;s easting and northing lie outside what EPSG:%1 (%2) can place on the Earth.</source>
        <translation>Восток и север входа лежат за пределами того, что EPSG:%1 (%2) может поместить на Земле.</translation>
    </message>
    <message>
        <source>The survey date must lie between the year %1 and today: Survex reads no earlier year and warns of a date to come.</source>
        <translation>Дата съёмки должна лежать между %1 годом и сегодняшним днём: более ранний год Survex не читает, а о дате в будущем предупреждает.</translation>
    </message>
    <message>
        <source>EPSG:%1 is not a coordinate system that Survex and Therion know.</source>
        <translation>EPSG:%1 — не система координат, известная Survex и Therion.</translation>
    </message>
    <message>
        <source>one of their numbers is not a number</source>
        <translation>одно из их чисел — не число</translation>
    </message>
</context>
<context>
    <name>SurveyDetailsDialog</name>
    <message>
        <source>Survey Details</source>
        <translation>Сведения о съёмке</translation>
    </message>
    <message>
        <source>Survey</source>
        <translation>Съёмка</translation>
    </message>
    <message>
        <source>Cave name:</source>
        <translation>Название пещеры:</translation>
    </message>
    <message>
        <source>Cave &amp;name:</source>
        <translation>&amp;Название пещеры:</translation>
    </message>
    <message>
        <source>Survey &amp;date:</source>
        <translation>&amp;Дата съёмки:</translation>
    </message>
    <message>
        <source>Survey date</source>
        <translation>Дата съёмки</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Scans&apos; source:</source>
        <translation>Источник сканов:</translation>
    </message>
    <message>
        <source>where the original sheets are kept</source>
        <translation>где хранятся исходные листы</translation>
    </message>
    <message>
        <source>Scans&apos; &amp;source:</source>
        <translation>&amp;Источник сканов:</translation>
    </message>
    <message>
        <source>Team</source>
        <translation>Отряд</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Roles</source>
        <translation>Роли</translation>
    </message>
    <message>
        <source>&amp;Add person</source>
        <translation>&amp;Добавить участника</translation>
    </message>
    <message>
        <source>&amp;Remove person</source>
        <translation>&amp;Убрать участника</translation>
    </message>
    <message>
        <source>Add person</source>
        <translation>Добавить участника</translation>
    </message>
    <message>
        <source>Remove person</source>
        <translation>Убрать участника</translation>
    </message>
    <message>
        <source>Roles, separated by spaces: %1</source>
        <translation>Роли через пробел: %1</translation>
    </message>
    <message>
        <source>Instruments</source>
        <translation>Приборы</translation>
    </message>
    <message>
        <source>Tape:</source>
        <translation>Рулетка:</translation>
    </message>
    <message>
        <source>Compass:</source>
        <translation>Компас:</translation>
    </message>
    <message>
        <source>Clinometer:</source>
        <translation>Клинометр:</translation>
    </message>
    <message>
        <source>&amp;Tape:</source>
        <translation>&amp;Рулетка:</translation>
    </message>
    <message>
        <source>&amp;Compass:</source>
        <translation>&amp;Компас:</translation>
    </message>
    <message>
        <source>C&amp;linometer:</source>
        <translation>К&amp;линометр:</translation>
    </message>
    <message>
        <source>North on the plan</source>
        <translation>Север на плане</translation>
    </message>
    <message>
        <source>&amp;Magnetic, declination:</source>
        <translation>&amp;Магнитный, склонение:</translation>
    </message>
    <message>
        <source>Declination</source>
        <translation>Склонение</translation>
    </message>
    <message>
        <source>Magnetic, declination &amp;from date and place</source>
        <translation>Магнитный, склонение &amp;по дате и месту</translation>
    </message>
    <message>
        <source>T&amp;rue north</source>
        <translation>&amp;Истинный север</translation>
    </message>
    <message>
        <source>&amp;Grid north (of the coordinate system)</source>
        <translation>&amp;Север сетки (системы координат)</translation>
    </message>
    <message>
        <source>Entrance</source>
        <translation>Вход</translation>
    </message>
    <message>
        <source>Entrance station:</source>
        <translation>Пикет входа:</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(нет)</translation>
    </message>
    <message>
        <source>Entrance &amp;station:</source>
        <translation>&amp;Пикет входа:</translation>
    </message>
    <message>
        <source>Coordinates &amp;known</source>
        <translation>&amp;Координаты известны</translation>
    </message>
    <message>
        <source>Coordinates known</source>
        <translation>Координаты известны</translation>
    </message>
    <message>
        <source>Easting:</source>
        <translation>Восток:</translation>
    </message>
    <message>
        <source>Northing:</source>
        <translation>Север:</translation>
    </message>
    <message>
        <source>Altitude:</source>
        <translation>Высота:</translation>
    </message>
    <message>
        <source>Coordinate system, EPSG code:</source>
        <translation>Система координат, код EPSG:</translation>
    </message>
    <message>
        <source>A projected system in metres, such as a UTM zone (EPSG:32637 is UTM zone 37N)</source>
        <translation>Проекция в метрах, например зона UTM (EPSG:32637 — зона UTM 37N)</translation>
    </message>
    <message>
        <source>Problem</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Pick the date from a calendar</source>
        <translation>Выбрать дату в календаре</translation>
    </message>
    <message>
        <source>The declination</source>
        <translation>Склонение</translation>
    </message>
    <message>
        <source>Degrees east of true north; west is negative</source>
        <translation>Градусы к востоку от истинного севера; к западу — со знаком минус</translation>
    </message>
    <message>
        <source>The easting</source>
        <translation>Координата на восток</translation>
    </message>
    <message>
        <source>The northing</source>
        <translation>Координата на север</translation>
    </message>
    <message>
        <source>The altitude</source>
        <translation>Высота</translation>
    </message>
    <message>
        <source>&amp;Easting, m:</source>
        <translation>&amp;Восток, м:</translation>
    </message>
    <message>
        <source>N&amp;orthing, m:</source>
        <translation>С&amp;евер, м:</translation>
    </message>
    <message>
        <source>&amp;Altitude, m:</source>
        <translation>&amp;Высота, м:</translation>
    </message>
    <message>
        <source>The EPSG code</source>
        <translation>Код EPSG</translation>
    </message>
    <message>
        <source>Coordinate s&amp;ystem, EPSG:</source>
        <translation>Система &amp;координат, EPSG:</translation>
    </message>
    <message>
        <source>The survey date is not a date: type it as 2023-07-15.</source>
        <translation>Дата съёмки — не дата: введите её как 2023-07-15.</translation>
    </message>
    <message>
        <source>° east</source>
        <translation>° к востоку</translation>
    </message>
</context>
<context>
    <name>SurveyDocument</name>
    <message>
        <source>Plan %1</source>
        <translation>План %1</translation>
    </message>
    <message>
        <source>Profile %1</source>
        <translation>Профиль %1</translation>
    </message>
</context>
<context>
    <name>SurveyLeg</name>
    <message>
        <source>Invalid floating point operation</source>
        <translation>Недопустимая операция с плавающей точкой</translation>
    </message>
</context>
<context>
    <name>SurveyOutput</name>
    <message>
        <source>The text holds characters that a survey data file cannot store: &quot;%1&quot;. Nothing was written to %2.</source>
        <translation>В тексте есть символы, которые файл данных съёмки не может хранить: «%1». В %2 ничего не записано.</translation>
    </message>
    <message>
        <source>the project, which has never been saved</source>
        <translation>проект, который ещё ни разу не сохранялся</translation>
    </message>
    <message>
        <source>the project %1</source>
        <translation>проект %1</translation>
    </message>
    <message>
        <source>the survey data file %1</source>
        <translation>файл данных съёмки %1</translation>
    </message>
    <message>
        <source>Not saved yet: %1.</source>
        <translation>Ещё не сохранено: %1.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> и </translation>
    </message>
    <message>
        <source>File has been modified. Save?</source>
        <translation>Файл изменён. Сохранить?</translation>
    </message>
    <message>
        <source>Survex is still writing %1.</source>
        <translation>Survex ещё записывает %1.</translation>
    </message>
    <message>
        <source>This file places the cave on the Earth: choose the entrance and give its coordinates in Survey Details first.</source>
        <translation>Этот файл привязывает пещеру к местности: сначала укажите вход и его координаты в сведениях о съёмке.</translation>
    </message>
    <message>
        <source>%1 is written by Survex, which is not installed: sudo apt-get install survex survex-aven</source>
        <translation>%1 записывает Survex, а он не установлен: sudo apt-get install survex survex-aven</translation>
    </message>
    <message>
        <source>You edited the survey data text, and the survey has changed since the text was built.

Yes: save the text as you edited it.
No: build the text again from the survey (your edits are dropped).</source>
        <translation>Вы правили текст данных съёмки, а съёмка изменилась после того, как текст был построен.

Да: сохранить текст с вашими правками.
Нет: построить текст заново по съёмке (правки пропадут).</translation>
    </message>
</context>
<context>
    <name>SurveyTextWindow</name>
    <message>
        <source>Survey data text</source>
        <translation>Текст данных съёмки</translation>
    </message>
    <message>
        <source>Text data file - view</source>
        <translation>Файл данных - просмотр</translation>
    </message>
    <message>
        <source>%1 - view</source>
        <translation>%1 - просмотр</translation>
    </message>
</context>
<context>
    <name>ViewEditor</name>
    <message>
        <source>Open Plan Image</source>
        <translation>открытие изображения плана</translation>
    </message>
    <message>
        <source>Open Profile Image</source>
        <translation>открытие изображения профиля</translation>
    </message>
    <message>
        <source>Add Plan Sheet</source>
        <translation>добавление листа плана</translation>
    </message>
    <message>
        <source>Add Profile Sheet</source>
        <translation>добавление листа профиля</translation>
    </message>
    <message>
        <source>Rename Sheet</source>
        <translation>переименование листа</translation>
    </message>
    <message>
        <source>Remove Sheet %1</source>
        <translation>удаление листа %1</translation>
    </message>
    <message>
        <source>The last plan sheet cannot be removed.</source>
        <translation>Последний лист плана удалить нельзя.</translation>
    </message>
    <message>
        <source>The last profile sheet cannot be removed.</source>
        <translation>Последний лист профиля удалить нельзя.</translation>
    </message>
</context>
<context>
    <name>ViewStrip</name>
    <message>
        <source>grid shift</source>
        <translation>сдвиг сетки</translation>
    </message>
    <message>
        <source>Open Plan (Left Image)</source>
        <translation>Открыть план (левое изображение)</translation>
    </message>
    <message>
        <source>Open Profile (Right Image)</source>
        <translation>Открыть профиль (правое изображение)</translation>
    </message>
    <message>
        <source>Grid every</source>
        <translation>Сетка через</translation>
    </message>
    <message>
        <source>Plan grid cell, metres</source>
        <translation>Ячейка сетки плана, метры</translation>
    </message>
    <message>
        <source>Profile grid cell, metres</source>
        <translation>Ячейка сетки профиля, метры</translation>
    </message>
    <message>
        <source>m</source>
        <translation>м</translation>
    </message>
    <message>
        <source>Plan grid cell, pixels</source>
        <translation>Ячейка сетки плана, пиксели</translation>
    </message>
    <message>
        <source>Profile grid cell, pixels</source>
        <translation>Ячейка сетки профиля, пиксели</translation>
    </message>
    <message>
        <source>pixels</source>
        <translation>пикс.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Plan grid shift right</source>
        <translation>Сдвиг сетки плана вправо</translation>
    </message>
    <message>
        <source>Profile grid shift right</source>
        <translation>Сдвиг сетки профиля вправо</translation>
    </message>
    <message>
        <source>Plan grid shift up</source>
        <translation>Сдвиг сетки плана вверх</translation>
    </message>
    <message>
        <source>Profile grid shift up</source>
        <translation>Сдвиг сетки профиля вверх</translation>
    </message>
    <message>
        <source>Plan zoom out</source>
        <translation>Уменьшить план</translation>
    </message>
    <message>
        <source>Profile zoom out</source>
        <translation>Уменьшить профиль</translation>
    </message>
    <message>
        <source>Plan zoom in</source>
        <translation>Увеличить план</translation>
    </message>
    <message>
        <source>Profile zoom in</source>
        <translation>Увеличить профиль</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Заново</translation>
    </message>
    <message>
        <source>Show the grid on the plan</source>
        <translation>Показать сетку на плане</translation>
    </message>
    <message>
        <source>Show the grid on the profile</source>
        <translation>Показать сетку на развёртке</translation>
    </message>
    <message>
        <source>Set or change the plan scale</source>
        <translation>Задать или изменить масштаб плана</translation>
    </message>
    <message>
        <source>Set or change the profile scale</source>
        <translation>Задать или изменить масштаб развёртки</translation>
    </message>
</context>
<context>
    <name>WallSearch</name>
    <message>
        <source>Finding walls: %1 of %2 stations (Esc stops).</source>
        <translation>Поиск стен: %1 из %2 пикетов (Esc — остановить).</translation>
    </message>
    <message>
        <source>Find Walls stopped; nothing was changed.</source>
        <translation>Поиск стен остановлен; ничего не изменено.</translation>
    </message>
    <message numerus="yes">
        <source>%n passage dimensions found on the drawings.</source>
        <translation>
            <numerusform>На чертежах найден %n размер хода.</numerusform>
            <numerusform>На чертежах найдено %n размера хода.</numerusform>
            <numerusform>На чертежах найдено %n размеров хода.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n left empty where the drawing does not show the wall clearly.</source>
        <translation>
            <numerusform>%n значение оставлено пустым там, где стена на чертеже неясна.</numerusform>
            <numerusform>%n значения оставлены пустыми там, где стена на чертеже неясна.</numerusform>
            <numerusform>%n значений оставлено пустыми там, где стена на чертеже неясна.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>the file system refused it</source>
        <translation>файловая система отказала</translation>
    </message>
    <message>
        <source>Cannot create file %1: %2.</source>
        <translation>Не удаётся создать файл %1: %2.</translation>
    </message>
    <message>
        <source>Cannot write file %1: %2. Any earlier file of that name is unchanged.</source>
        <translation>Не удаётся записать файл %1: %2. Прежний файл с этим именем не изменён.</translation>
    </message>
</context>
</TS>
