<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>RenderText</name>
    <message>
        <location filename="../Batch.cpp" line="37"/>
        <source>%1: cannot read the list: %2</source>
        <translation>%1: не удалось прочитать список: %2</translation>
    </message>
    <message>
        <location filename="../Batch.cpp" line="51"/>
        <source>the line is not UTF-8</source>
        <translation>строка не в кодировке UTF-8</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="160"/>
        <source>More: zembrel-render --help</source>
        <translation>Подробнее: zembrel-render --help</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="167"/>
        <source>argument %1 is not UTF-8</source>
        <translation>аргумент %1 не в кодировке UTF-8</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="173"/>
        <source>Draws the electron-dot formula of an element without a window: BMP, PNG or SVG.
A batch, --batch FILE, has one picture a line, each line the same words; options
given with --batch are the defaults of every line.
Exit status: 0 all written, 1 a picture not made or written, 2 a mistake in the words.</source>
        <translation>Рисует электронную формулу элемента без окна: BMP, PNG или SVG.
Пакет, --batch ФАЙЛ: по картинке на строку, в строке те же слова; параметры,
заданные вместе с --batch, действуют в каждой строке, пока строка не задаст своих.
Код выхода: 0 всё записано, 1 картинка не сделана или не записана, 2 ошибка в словах.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="178"/>
        <source>Show this help.</source>
        <translation>Эта справка.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="182"/>
        <source>No warnings; errors are still printed.</source>
        <translation>Без предупреждений; об ошибках сказано всё равно.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="185"/>
        <source>Pictures from the lines of FILE (&quot;-&quot; is standard input).</source>
        <translation>Картинки по строкам файла («-» — стандартный ввод).</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="185"/>
        <location filename="../RenderJob.cpp" line="173"/>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="188"/>
        <source>Relative picture names are taken under DIR, which must exist.</source>
        <translation>Относительные имена картинок берутся в папке ПАПКА; она должна быть.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="188"/>
        <source>DIR</source>
        <translation>ПАПКА</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="203"/>
        <source>output folder &quot;%1&quot;: there is no such folder</source>
        <translation>папка для картинок «%1»: такой папки нет</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="208"/>
        <source>warning: %1</source>
        <translation>предупреждение: %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="215"/>
        <source>with --batch, &quot;%1&quot; goes on the lines of the file</source>
        <translation>с --batch «%1» пишется в строках файла</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="218"/>
        <source>with --batch, the symbol goes on the lines of the file</source>
        <translation>с --batch обозначение пишется в строках файла</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="220"/>
        <source>no batch file given: --batch FILE</source>
        <translation>не задан файл пакета: --batch ФАЙЛ</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="110"/>
        <location filename="../Renderer.cpp" line="123"/>
        <source>it is a folder</source>
        <translation>по этому пути находится папка</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="112"/>
        <source>it is a socket</source>
        <translation>по этому пути находится сокет</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="114"/>
        <source>it is a block device</source>
        <translation>по этому пути находится блочное устройство</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="115"/>
        <source>it is not a file</source>
        <translation>по этому пути находится не файл</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="119"/>
        <source>no such folder</source>
        <translation>такой папки нет</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="121"/>
        <source>permission denied</source>
        <translation>отказано в доступе</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="122"/>
        <source>read-only file system</source>
        <translation>файловая система доступна только для чтения</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="124"/>
        <source>file name too long</source>
        <translation>слишком длинное имя файла</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="126"/>
        <source>invalid file name</source>
        <translation>недопустимое имя файла</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="128"/>
        <source>no space left on device</source>
        <translation>на диске нет места</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="129"/>
        <source>input/output error</source>
        <translation>ошибка ввода-вывода</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="130"/>
        <source>the reader closed the pipe</source>
        <translation>читающая сторона закрыла канал</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="131"/>
        <source>no such open descriptor</source>
        <translation>такой открытый дескриптор не найден</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="141"/>
        <location filename="../Renderer.cpp" line="195"/>
        <source>not enough memory for the picture</source>
        <translation>недостаточно памяти для картинки</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="142"/>
        <source>the picture is too large to draw</source>
        <translation>картинка слишком велика, её не нарисовать</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="143"/>
        <source>the font cannot take this value</source>
        <translation>шрифт не принимает такое значение</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="144"/>
        <source>cannot encode the picture (%1)</source>
        <translation>не удалось закодировать картинку (%1)</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="150"/>
        <source>standard output</source>
        <translation>стандартный вывод</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="192"/>
        <location filename="../Renderer.cpp" line="194"/>
        <source>%1: cannot make the picture: %2</source>
        <translation>%1: не удалось сделать картинку: %2</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="200"/>
        <source>%1: cannot write: %2</source>
        <translation>%1: не удалось записать: %2</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="252"/>
        <source>the font &quot;%1&quot; is not on this system; drawing with &quot;%2&quot;</source>
        <translation>шрифта «%1» в системе нет, рисую шрифтом «%2»</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="37"/>
        <source>&quot;%1&quot; (%2)</source>
        <translation>«%1» (%2)</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="45"/>
        <source>symbol &quot;%1&quot;: %2 is not a letter of the Latin or Russian alphabet</source>
        <translation>обозначение «%1»: знак %2 не буква латинского или русского алфавита</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="48"/>
        <source>symbol &quot;%1&quot;: the letter %2 is one too many, a symbol has at most two</source>
        <translation>обозначение «%1»: буква %2 лишняя, букв не больше двух</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="82"/>
        <source>dots &quot;%1&quot;: an empty entry; give slot numbers 0 to 15 separated by commas</source>
        <translation>точки «%1»: пустой номер; нужны номера мест от 0 до 15 через запятую</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="87"/>
        <source>dot &quot;%1&quot;: slot numbers are whole numbers from 0 to 15</source>
        <translation>точка «%1»: номера точек — целые числа от 0 до 15</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="94"/>
        <source>dots %1 and %2 cannot go together: they are the two groups of one side</source>
        <translation>точки %1 и %2 не ставятся вместе: это разные группы одной стороны</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="106"/>
        <source>radius &quot;%1&quot;: give a number from 0.5 to 10 in steps of 0.5</source>
        <translation>радиус «%1»: нужно число от 0.5 до 10 с шагом 0.5</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="116"/>
        <source>the font name cannot be empty</source>
        <translation>имя шрифта не может быть пустым</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="121"/>
        <source>font size &quot;%1&quot;: give a number above 0 and at most 2160</source>
        <translation>размер шрифта «%1»: нужно число больше 0 и не больше 2160</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="128"/>
        <source>font weight &quot;%1&quot;: give a whole number from 1 to 1000</source>
        <translation>насыщенность «%1»: нужно целое число от 1 до 1000</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="150"/>
        <source>format &quot;%1&quot;: it is bmp, png or svg</source>
        <translation>формат «%1»: бывает bmp, png или svg</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="151"/>
        <source>cannot tell the format from the name &quot;%1&quot;: use the extension .bmp, .png or .svg, or --format</source>
        <translation>по имени «%1» не понять формат: нужно расширение .bmp, .png или .svg, либо --format</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="160"/>
        <source>SYMBOL</source>
        <translation>ОБОЗНАЧЕНИЕ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="160"/>
        <source>One or two letters, Latin or Russian.</source>
        <translation>Одна или две буквы, латинские или русские.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="162"/>
        <source>Dots: slot numbers 0 to 15, separated by commas.</source>
        <translation>Точки: номера мест от 0 до 15 через запятую.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="163"/>
        <source>Dot radius: 0.5 to 10 in steps of 0.5 (default 2).</source>
        <translation>Радиус точки: от 0.5 до 10 с шагом 0.5 (по умолчанию 2).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="164"/>
        <source>Font family (default Arial).</source>
        <translation>Шрифт (по умолчанию Arial).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="164"/>
        <source>FAMILY</source>
        <translation>ШРИФТ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="165"/>
        <source>Font size in points (default 21.75).</source>
        <translation>Размер шрифта в пунктах (по умолчанию 21.75).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="165"/>
        <source>PT</source>
        <translation>ПТ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="166"/>
        <source>Font weight: 400 regular, 700 bold.</source>
        <translation>Насыщенность шрифта: 400 обычный, 700 полужирный.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="167"/>
        <source>Italic.</source>
        <translation>Курсив.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="168"/>
        <source>Scale: 1 to 8, that many times the pixels.</source>
        <translation>Масштаб: от 1 до 8, во столько раз больше пикселей.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="169"/>
        <source>Transparent ground (PNG and SVG).</source>
        <translation>Прозрачный фон (PNG и SVG).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="171"/>
        <source>Format: bmp, png or svg (default: the file&apos;s extension; png on standard output).</source>
        <translation>Формат: bmp, png или svg (по умолчанию по расширению файла; png на стандартный вывод).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="172"/>
        <source>FORMAT</source>
        <translation>ФОРМАТ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="173"/>
        <source>Picture file; &quot;-&quot; is standard output.</source>
        <translation>Файл картинки; «-» — стандартный вывод.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="187"/>
        <source>no element symbol given</source>
        <translation>не задано обозначение элемента</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="189"/>
        <source>extra argument &quot;%1&quot;: there is one symbol</source>
        <translation>лишний аргумент «%1»: обозначение одно</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="191"/>
        <source>no picture file given: -o FILE</source>
        <translation>не задан файл картинки: -o ФАЙЛ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="205"/>
        <source>scale &quot;%1&quot;: give a whole number from 1 to 8</source>
        <translation>масштаб «%1»: нужно целое число от 1 до 8</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="211"/>
        <source>font size %1 pt at scale %2 is too large: at most %3 pt at this scale</source>
        <translation>размер шрифта %1 пт при масштабе %2 слишком велик: не больше %3 пт при этом масштабе</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="218"/>
        <source>BMP has no transparency: --transparent is for PNG and SVG</source>
        <translation>у BMP нет прозрачности: --transparent только для PNG и SVG</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="255"/>
        <source>the quote %1 is not closed</source>
        <translation>кавычка %1 не закрыта</translation>
    </message>
</context>
</TS>
