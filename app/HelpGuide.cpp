#include "app/HelpGuide.h"

#include "app/AnsiText.h"

#include <QStringList>

namespace HelpGuide {

static QStringList lines()
{
    return {
        QStringLiteral(" Программа Speomark предназначена для трёхмерной оцифровки нарисованных линий съёмки на топосъёмках пещер; возможна и двумерная оцифровка одних планов."),
        QStringLiteral(" "),
        QStringLiteral(" Для работы нужны файл плана и файл развёртки (развёрнутого разреза) в формате bitmap (файлы других форматов можно преобразовать почти любым графическим редактором). План открывается в левом окне, развёртка — в правом."),
        QStringLiteral(" Масштаб изображения (метров на пиксель исходного растра) задаётся сеткой, которую накладывают на масштабную линейку отсканированной съёмки: размер ячейки сетки (сколько в ней метров и сколько пикселей) вводится в двух полях над рисунками, сетка сдвигается четырьмя стрелками над соответствующим окном, а при нажатой клавише Ctrl шаг сдвига увеличивается до 10 пикселей."),
        QStringLiteral(" Внимание: изменение масштаба после ввода пикетов может привести к неверным результатам!"),
        QStringLiteral(" Ориентация плана (направление на север в градусах) вводится в левом нижнем углу (поле \"Plan orientation\"); там же кнопками Profile указывается, есть ли развёртка (\"Extended\") или её нет (\"None\")."),
        QStringLiteral(" "),
        QStringLiteral(" Увеличение и уменьшение изображения (масштаб в метрах на пиксель при этом не меняется): кнопками с плюсом и минусом вверху (без сдвига изображения) или левой и правой кнопками мыши при нажатой клавише Ctrl (точка, по которой щёлкнули, переносится в центр окна). Перемещение по изображению — мышью с нажатой левой кнопкой."),
        QStringLiteral(" "),
        QStringLiteral(" Добавление новой точки (пикета)."),
        QStringLiteral(" Отметьте точку ПРАВОЙ кнопкой мыши на каждом рисунке (при желании введите номер или метку пикета и комментарий) и нажмите \"Add\". Если пикет начинает новую ветку съёмки, поставьте галочку \"New branch\"; иначе на рисунках появляются ещё окружность или две линии, потому что расстояние на плане должно быть равно горизонтальному расстоянию на развёртке: радиус окружности на плане равен горизонтальной длине хода на развёртке, а две линии на развёртке отмечают расстояние между пикетами на плане."),
        QStringLiteral(" Общее число пикетов ограничено 1000."),
        QStringLiteral(" "),
        QStringLiteral(" Кнопка \"Move\" переключает программу на редактирование уже введённых пикетов."),
        QStringLiteral(" Редактируемый пикет (по умолчанию предыдущий) выделяется цветом; кнопками-стрелками, которые видны только в этом режиме, можно переходить от пикета к пикету, менять его метку (номер) и комментарий, а саму точку передвигать щелчком мыши."),
        QStringLiteral(" "),
        QStringLiteral(" Результат можно сохранить в форматах программ обработки пещерных съёмок (\"Lumaro\", \"Survex\") в двух вариантах: \"Angle\" (третье поле — угол наклона) и \"DepthChange\" (третье поле — изменение высоты). Кнопка \"View\" показывает текст файла данных."),
        QStringLiteral(" "),
        QStringLiteral(" Все текущие настройки можно сохранить в специальном файле проекта (расширение *.sprj), который в любой момент можно открыть через меню, чтобы продолжить работу."),
    };
}

// The same guide for cavers who read English, line for line.
static QStringList englishLines()
{
    return {
        QStringLiteral(" Speomark turns the drawn survey lines of cave surveys into three-dimensional survey data; a plan on its own can be digitised in two dimensions too."),
        QStringLiteral(" "),
        QStringLiteral(" You need a scan of the plan and a scan of the extended profile (an image file of almost any kind, or a PDF sheet). The plan opens in the left pane, the extended profile in the right one; you can also drop a scan onto its pane."),
        QStringLiteral(" Scale: the scale of a drawing (metres per pixel of the scan) is set with a grid laid over the scale bar of the scanned survey: type how many metres and how many pixels one grid cell spans in the two boxes above the drawing and press \"OK\"; the four arrows above the pane shift the grid, ten pixels at a time while Ctrl is held. View > Measure Plan Scale does it in two clicks on the ends of the scale bar."),
        QStringLiteral(" Note: if you change a scale after placing stations, Speomark offers to recalculate their metre positions."),
        QStringLiteral(" The plan's orientation (the direction of north in degrees, clockwise from the top of the sheet) goes in the \"Orientation\" box at the lower left, or View > Measure North on the Plan takes it from two clicks along the north arrow; the \"Profile\" buttons say whether there is an extended profile (\"Extended\") or not (\"None\")."),
        QStringLiteral(" "),
        QStringLiteral(" Zoom and panning (the scale in metres per pixel does not change): the mouse wheel zooms where the cursor is, the plus and minus buttons at the top zoom about the middle, and Ctrl with the left or right mouse button zooms about the clicked point; drag with the left mouse button to move the drawing."),
        QStringLiteral(" "),
        QStringLiteral(" Adding a station."),
        QStringLiteral(" Mark the station with the RIGHT mouse button on each drawing (type its label or number and a comment if you like) and press \"Add\" or Enter; the next label is proposed for you. Tick \"New branch\" when the station starts a new branch of the survey; otherwise the drawings also show a circle or two lines, because a leg's length on the plan must equal its horizontal length on the extended profile: the circle on the plan has the leg's horizontal length measured on the profile as its radius, and the two lines on the profile mark the leg's length measured on the plan."),
        QStringLiteral(" A survey holds up to 1000 stations."),
        QStringLiteral(" "),
        QStringLiteral(" \"Move\" switches to editing the stations already added."),
        QStringLiteral(" The station being edited (the last one at first) is highlighted; click a mark to pick another, or step with the arrow buttons, which show in this mode only. Change its label (number) and comment, drag its mark or click its new place, delete it, or insert a station before it. Edit > Undo (Ctrl+Z) takes back any change."),
        QStringLiteral(" "),
        QStringLiteral(" The result is saved in the formats of cave survey programs (\"Lumaro\", \"Survex\") in two styles: \"Angle\" (the third value of each leg is its inclination) and \"DepthChange\" (the third value is the change of height). \"View\" shows the text of the data file, and \"Check\" tells you whether the plan and the profile agree and whether the loops close."),
        QStringLiteral(" "),
        QStringLiteral(" Projects: the whole job can be saved in a project file (extension *.sprj) and opened again at any time from the File menu to carry on. Work that was not saved comes back after a crash."),
    };
}

QString text() { return lines().join(QStringLiteral("\r\n")); }

QString englishText() { return englishLines().join(QStringLiteral("\r\n")); }

QByteArray text1251() { return AnsiText::encode(text()); }

} // namespace HelpGuide
