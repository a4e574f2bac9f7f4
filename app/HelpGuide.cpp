#include "app/HelpGuide.h"

#include "survey/AnsiText.h"

#include <QStringList>

namespace HelpGuide {

static QStringList lines()
{
    return {
        QStringLiteral(" Программа Speomark предназначена для трёхмерной оцифровки нарисованных линий съёмки на топосъёмках пещер; возможна и двумерная оцифровка одних планов."),
        QStringLiteral(" "),
        QStringLiteral(" Для работы нужны скан плана и скан развёртки (развёрнутого разреза): файл изображения почти любого формата (PNG, JPEG, TIFF, BMP, GIF, WebP и другие) любого размера, какой вмещает память, или страница PDF. План открывается в левом окне (меню \"Файл\", \"Открыть план (левое изображение)\"), развёртка — в правом; скан можно и перетащить мышью на его окно."),
        QStringLiteral(" Масштаб изображения (метров на пиксель скана) задаётся сеткой, которую накладывают на масштабную линейку: размер ячейки сетки (сколько в ней метров и сколько пикселей) вводится в двух полях над рисунком, затем нажимается \"OK\" (кнопка становится \"Заново\"); в поля можно ввести только число. Сетка сдвигается четырьмя стрелками над окном, с клавишей Ctrl — по 10 пикселей. Пункт \"Измерить масштаб плана\" меню \"Вид\" задаёт масштаб двумя щелчками по концам линейки."),
        QStringLiteral(" Если масштаб изменён после ввода пикетов, программа предложит пересчитать их положение в метрах; если отказаться, пикеты сохранят старые метры, и проверка съёмки отметит замеры между пикетами, поставленными при разных масштабах."),
        QStringLiteral(" Ориентация плана (направление на север в градусах по часовой стрелке от верха листа) вводится в поле \"Север, °\" слева внизу или задаётся двумя щелчками вдоль стрелки севера (\"Измерить север на плане\"); там же кнопками \"Развёртка\", \"Проекция\" и \"Нет\" указывается, какой разрез нарисован; для проекции в поле под ними вводится её азимут (направление, в котором плоскость проекции уходит вправо на рисунке)."),
        QStringLiteral(" "),
        QStringLiteral(" Увеличение и уменьшение (масштаб в метрах на пиксель при этом не меняется): колёсико мыши увеличивает там, где стоит курсор, кнопки с плюсом и минусом вверху — относительно середины. Изображение перемещается мышью с нажатой левой кнопкой. В строке состояния видно, где курсор на скане: в пикселях скана и, когда масштаб задан, в метрах."),
        QStringLiteral(" "),
        QStringLiteral(" Добавление нового пикета."),
        QStringLiteral(" Отметьте точку ПРАВОЙ кнопкой мыши на каждом рисунке (при желании введите метку или номер пикета и примечание) и нажмите \"Внести\" или Enter — где бы ни была клавиатура в окне; следующая метка предлагается сама. Если пикет начинает новую ветку съёмки, поставьте галочку \"Новая ветка\"; иначе на рисунках видны окружность или две линии, потому что длина хода на плане должна быть равна его горизонтальной длине на развёртке: радиус окружности на плане равен горизонтальной длине хода на развёртке, а две линии на развёртке отмечают длину хода на плане. Если отмечено \"Сразу добавлять\", пикет добавляется вторым щелчком, а Backspace возвращает его. Щелчок рядом с нарисованной отметкой пикета или с направляющей попадает на неё; с Shift точка ставится точно там, где щёлкнули."),
        QStringLiteral(" В съёмке может быть до 999 пикетов."),
        QStringLiteral(" "),
        QStringLiteral(" Кнопка \"Правка\" в группе \"Режим\" переключает программу на редактирование уже введённых пикетов."),
        QStringLiteral(" Редактируемый пикет (сначала последний) выделяется цветом; другой выбирается щелчком по его значку, стрелками, которые видны только в этом режиме, или в списке \"Пикеты\" меню \"Вид\" (клавиши-стрелки в списке выбирают пикет). Можно менять его метку и примечание, перетаскивать значок, удалить пикет или вставить пикет перед ним. \"Отменить\" (Ctrl+Z) отменяет любое изменение."),
        QStringLiteral(" "),
        QStringLiteral(" Результат сохраняется в форматах программ обработки пещерных съёмок (\"Lumaro: метки\", \"Lumaro: от-до\", \"Survex\") в двух вариантах: \"Угол\" (третье поле — угол наклона) и \"Перепад\" (третье поле — изменение высоты). Кнопка \"Текст\" показывает текст файла данных, построенный по съёмке; его можно поправить, и правки сохранятся, пока съёмка не изменилась. Имя файла с расширением .svx, .th или .cav само выбирает формат; \"Сохр. как\" пишет и файлы Therion и Compass. Кнопка \"Сверка\" показывает, согласуются ли план и развёртка и замыкаются ли кольца."),
        QStringLiteral(" "),
        QStringLiteral(" Вся работа сохраняется в файле проекта (расширение *.sprj) пунктом \"Сохранить проект\" (Ctrl+S) меню \"Файл\"; проект можно открыть в любой момент и продолжить работу. При закрытии программа спрашивает, сохранить ли проект. \"Закрыть всё\" закрывает проект вместе с окнами проверки, 3D-вида и текста. Несохранённая работа возвращается после сбоя, каждая отдельно."),
    };
}

// The same guide for cavers who read English, line for line.
static QStringList englishLines()
{
    return {
        QStringLiteral(" Speomark turns the drawn survey lines of cave surveys into three-dimensional survey data; a plan on its own can be digitised in two dimensions too."),
        QStringLiteral(" "),
        QStringLiteral(" You need a scan of the plan and a scan of the extended profile: an image file of almost any format (PNG, JPEG, TIFF, BMP, GIF, WebP and more), of any size memory can hold, or a page of a PDF sheet. The plan opens in the left pane (File > \"Open Plan (Left Image)\"), the extended profile in the right one; you can also drop a scan onto its pane."),
        QStringLiteral(" Scale: the scale of a drawing (metres per pixel of the scan) is set with a grid laid over the scale bar: type how many metres and how many pixels one grid cell spans in the two boxes above the drawing and press \"OK\" (it then reads \"Change\"); the boxes take numbers only. The four arrows above the pane shift the grid, ten pixels at a time while Ctrl is held. View > \"Measure Plan Scale\" sets it in two clicks on the ends of the scale bar."),
        QStringLiteral(" If you change a scale after placing stations, Speomark offers to recalculate their metre positions; if you decline, the stations keep their old metres and the survey check flags the legs between stations placed under the two scales."),
        QStringLiteral(" The plan's orientation (the direction of north in degrees, clockwise from the top of the sheet) goes in the \"Orientation\" box at the lower left, or \"Measure North on the Plan\" takes it from two clicks along the north arrow; the \"Extended\", \"Projective\" and \"None\" buttons say which profile there is; a projected profile takes its azimuth (the bearing its plane runs towards on the right of the drawing) in the box below them."),
        QStringLiteral(" "),
        QStringLiteral(" Zoom and panning (the scale in metres per pixel does not change): the mouse wheel zooms where the cursor is, the plus and minus buttons at the top zoom about the middle; drag with the left mouse button to move the drawing. The status bar shows where the cursor is on the scan, in the scan's pixels and, once the drawing has a scale, in metres."),
        QStringLiteral(" "),
        QStringLiteral(" Adding a station."),
        QStringLiteral(" Mark the station with the RIGHT mouse button on each drawing (type its label or number and a comment if you like) and press \"Add\" or Enter, wherever the keyboard is in the window; the next label is proposed for you. Tick \"New branch\" when the station starts a new branch of the survey; otherwise the drawings also show a circle or two lines, because a leg's length on the plan must equal its horizontal length on the extended profile: the circle on the plan has the leg's horizontal length measured on the profile as its radius, and the two lines on the profile mark the leg's length measured on the plan. With \"Add when placed\" ticked the station is added at the second click, and Backspace takes it back. A click near a drawn station mark or a guide lands on it; hold Shift to place the point exactly where you click."),
        QStringLiteral(" A survey holds up to 999 stations."),
        QStringLiteral(" "),
        QStringLiteral(" \"Move\" in the \"Mode\" group switches to editing the stations already added."),
        QStringLiteral(" The station being edited (the last one at first) is highlighted; click a mark to pick another, step with the arrow buttons, which show in this mode only, or pick it in the \"Stations\" list of the View menu (its arrow keys pick the station they reach). Change its label (number) and comment, drag its mark, delete it, or insert a station before it. \"Undo\" (Ctrl+Z) takes back any change."),
        QStringLiteral(" "),
        QStringLiteral(" The result is saved in the formats of cave survey programs (\"Lumaro: Label\", \"Lumaro: FromTo\", \"Survex\") in two styles: \"Angle\" (the third value of each leg is its inclination) and \"DepthChange\" (the third value is the change of height). \"View\" shows the text of the data file as built from the survey; you may edit it, and your edits are saved while the survey stays as it was. A file name ending in .svx, .th or .cav chooses its format; \"Save as\" also writes Therion and Compass files. \"Check\" tells you whether the plan and the profile agree and whether the loops close."),
        QStringLiteral(" "),
        QStringLiteral(" Projects: the whole job is saved in a project file (extension *.sprj) with File > \"Save Project\" (Ctrl+S) and can be opened again at any time to carry on. Closing asks whether to save the project. \"Close All\" closes the project with the check, 3D view and text windows. Work that was not saved comes back after a crash, each job on its own."),
    };
}

QString text() { return lines().join(QStringLiteral("\r\n")); }

QString englishText() { return englishLines().join(QStringLiteral("\r\n")); }

QByteArray text1251() { return AnsiText::encode(text()); }

} // namespace HelpGuide
