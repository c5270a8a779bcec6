<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Sketch</name>
    <message>
        <location filename="../Sketch.cpp" line="86"/>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="104"/>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="112"/>
        <source>molecule</source>
        <translation>молекула</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="131"/>
        <location filename="../Sketch.cpp" line="137"/>
        <source>There is not enough memory for the picture.</source>
        <translation>Для рисунка не хватает памяти.</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="132"/>
        <source>The picture is too large to draw.</source>
        <translation>Рисунок слишком велик, его не нарисовать.</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="133"/>
        <source>The font cannot take this size or weight.</source>
        <translation>Шрифт не может быть такого размера или насыщенности.</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="134"/>
        <source>The picture cannot be drawn (%1).</source>
        <translation>Рисунок не получается нарисовать (%1).</translation>
    </message>
</context>
<context>
    <name>zembrel::MoleculeWindow</name>
    <message>
        <location filename="../MoleculeWindow.cpp" line="62"/>
        <source>&amp;Lewis: bonds as lines</source>
        <translation>&amp;Льюис: связи линиями</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="63"/>
        <source>&amp;Dots: every electron</source>
        <translation>&amp;Точки: все электроны</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="64"/>
        <source>&amp;Bars: lone pairs as bars</source>
        <translation>&amp;Чёрточки: пары чёрточками</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="66"/>
        <source>Dot and cr&amp;oss: each atom its own mark</source>
        <translation>Точки и кр&amp;естики: у атома свой знак</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="67"/>
        <source>Shape: wedges, angle and na&amp;me</source>
        <translation>Форма: клинья, у&amp;гол, название</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="77"/>
        <source>Where they say more</source>
        <translation>Где они важны</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="78"/>
        <source>Every atom&apos;s</source>
        <translation>У всех атомов</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="79"/>
        <source>An ion&apos;s charge only</source>
        <translation>Только заряд иона</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="97"/>
        <source>PNG picture, 288 dpi (*.png)</source>
        <translation>Рисунок PNG, 288 dpi (*.png)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="98"/>
        <source>SVG drawing (*.svg)</source>
        <translation>Рисунок SVG (*.svg)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="100"/>
        <source>BMP picture, 288 dpi (*.bmp)</source>
        <translation>Рисунок BMP, 288 dpi (*.bmp)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="131"/>
        <source>something other than a file is there</source>
        <translation>там не файл, а что-то другое</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="134"/>
        <source>there is no such folder</source>
        <translation>такой папки нет</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="136"/>
        <source>permission denied</source>
        <translation>отказано в доступе</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="137"/>
        <source>the disk is read-only</source>
        <translation>диск только для чтения</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="139"/>
        <source>the disk is full</source>
        <translation>на диске нет места</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="170"/>
        <source>&amp;Name, formula or SMILES:</source>
        <translation>&amp;Название, формула или SMILES:</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="173"/>
        <source>water, ammonia, nitrate ion, H2O, NH4+, CO3 2-, CCO …</source>
        <translation>вода, аммиак, нитрат-ион, H2O, NH4+, CO3 2-, CCO …</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="174"/>
        <source>Name, formula or SMILES</source>
        <translation>Название, формула или SMILES</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="188"/>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="195"/>
        <location filename="../MoleculeWindow.cpp" line="201"/>
        <source>Picture</source>
        <translation>Рисунок</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="204"/>
        <source>Style</source>
        <translation>Вид</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="214"/>
        <source>Outer s&amp;hells</source>
        <translation>Внешние &amp;оболочки</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="216"/>
        <source>Outer shells</source>
        <translation>Внешние оболочки</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="217"/>
        <source>Each atom&apos;s outer shell as a circle, for dots and dot and cross</source>
        <translation>Внешняя оболочка каждого атома — окружность; для точек и для точек с крестиками</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="220"/>
        <source>R&amp;esonance forms</source>
        <translation>Резонансные &amp;формы</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="222"/>
        <source>Resonance forms</source>
        <translation>Резонансные формы</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="223"/>
        <source>Every resonance form side by side, joined by ↔, each with its formal charges</source>
        <translation>Все резонансные структуры рядом, через ↔, каждая со своими формальными зарядами</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="226"/>
        <source>Formal char&amp;ges:</source>
        <translation>Формальные &amp;заряды:</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="229"/>
        <source>Formal charges</source>
        <translation>Формальные заряды</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="230"/>
        <source>In a neutral molecule every formal charge is drawn; in an ion, where they say more than its charge (nitrate, not ammonium)</source>
        <translation>В нейтральной молекуле рисуются все формальные заряды; в ионе — там, где они говорят больше его заряда (нитрат, но не аммоний)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="236"/>
        <source>Dot &amp;radius:</source>
        <translation>&amp;Радиус точек:</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="243"/>
        <source>Dot radius</source>
        <translation>Радиус точек</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="246"/>
        <source>&amp;Font:</source>
        <translation>&amp;Шрифт:</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="249"/>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="253"/>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="255"/>
        <source>Copy the picture</source>
        <translation>Копировать рисунок</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="256"/>
        <source>The picture to the clipboard as PNG at 288 dpi and as SVG (Ctrl+C or Enter)</source>
        <translation>Рисунок в буфер обмена как PNG 288 dpi и как SVG (Ctrl+C или Enter)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="258"/>
        <source>&amp;Save as…</source>
        <translation>&amp;Сохранить как…</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="260"/>
        <source>Save the picture as a file</source>
        <translation>Сохранить рисунок в файл</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="261"/>
        <source>PNG or BMP at 288 dpi, or SVG (Ctrl+S)</source>
        <translation>PNG или BMP 288 dpi или SVG (Ctrl+S)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="268"/>
        <source>Shape</source>
        <translation>Форма</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="270"/>
        <source>Ste&amp;ps</source>
        <translation>&amp;Ход решения</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="273"/>
        <source>Show the steps</source>
        <translation>Показать ход решения</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="274"/>
        <source>How the Lewis structure is worked out: electrons, bonds, charges, shape</source>
        <translation>Как выводится структура Льюиса: электроны, связи, заряды, форма</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="278"/>
        <source>Steps</source>
        <translation>Ход решения</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="285"/>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="287"/>
        <source>Practice sheet</source>
        <translation>Лист упражнений</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="291"/>
        <source>Pictures on the sheet</source>
        <translation>Рисунки на листе</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="300"/>
        <source>&amp;Add to sheet</source>
        <translation>&amp;Добавить на лист</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="300"/>
        <source>The picture as it stands, at the sheet&apos;s end</source>
        <translation>Рисунок как есть — в конец листа</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="301"/>
        <source>Move &amp;up</source>
        <translation>В&amp;ыше</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="301"/>
        <source>The chosen picture one place earlier</source>
        <translation>Выбранный рисунок на место раньше</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="302"/>
        <source>Move do&amp;wn</source>
        <translation>Ни&amp;же</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="302"/>
        <source>The chosen picture one place later</source>
        <translation>Выбранный рисунок на место позже</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="303"/>
        <source>Remo&amp;ve</source>
        <translation>&amp;Убрать</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="303"/>
        <source>The chosen picture off the sheet</source>
        <translation>Убрать выбранный рисунок с листа</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="304"/>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="304"/>
        <source>Every picture off the sheet</source>
        <translation>Убрать с листа все рисунки</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="305"/>
        <source>Save shee&amp;t…</source>
        <translation>Сохранить л&amp;ист…</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="306"/>
        <source>The sheet as a PDF: twelve pictures a page, numbered, with their names</source>
        <translation>Лист в PDF: двенадцать рисунков на странице, с номерами и названиями</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="469"/>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="492"/>
        <source>Nothing to add: the input gives no picture.</source>
        <translation>Нечего добавить: по введённому ничего не нарисовано.</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="497"/>
        <source>On the sheet: %1</source>
        <translation>На листе: %1</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="508"/>
        <source>PDF document (*.pdf)</source>
        <translation>Документ PDF (*.pdf)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="510"/>
        <source>sheet</source>
        <translation>лист</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="581"/>
        <source>Did you mean %1?</source>
        <translation>Может быть, %1?</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="581"/>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="602"/>
        <source>%1, %2 pt</source>
        <translation>%1, %2 пт</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="604"/>
        <source>, bold</source>
        <translation>, полужирный</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="606"/>
        <source>, italic</source>
        <translation>, курсив</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="634"/>
        <source>Nothing to copy: the input gives no picture.</source>
        <translation>Копировать нечего: по введённому рисунок не получается.</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="639"/>
        <source>Copied: PNG at 288 dpi and SVG.</source>
        <translation>Скопировано: PNG 288 dpi и SVG.</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="641"/>
        <location filename="../MoleculeWindow.cpp" line="643"/>
        <source>Cannot copy: %1</source>
        <translation>Не удалось скопировать: %1</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="645"/>
        <source>Cannot copy: there is not enough memory for the picture.</source>
        <translation>Не удалось скопировать: для рисунка не хватает памяти.</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="525"/>
        <location filename="../MoleculeWindow.cpp" line="528"/>
        <location filename="../MoleculeWindow.cpp" line="534"/>
        <source>Cannot save “%1”: %2</source>
        <translation>Не удалось сохранить «%1»: %2</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="537"/>
        <source>Saved: %1</source>
        <translation>Сохранено: %1</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="49"/>
        <source>Zembrel: molecules and ions</source>
        <translation>Зембрель: молекулы и ионы</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="52"/>
        <source>A window that draws the electron-dot pictures of molecules and ions: type a name, a formula or a SMILES, choose the style, and copy the picture into a document.</source>
        <translation>Окно, в котором рисуются электронно-точечные формулы молекул и ионов: введите название, формулу или SMILES, выберите вид и скопируйте рисунок в документ.</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="57"/>
        <source>input</source>
        <translation>ввод</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="58"/>
        <source>A name, a formula or a SMILES to start with.</source>
        <translation>Название, формула или SMILES, с которых начать.</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="59"/>
        <source>[input]</source>
        <translation>[ввод]</translation>
    </message>
</context>
<context>
    <name>zembrel::WindowDialogs</name>
    <message>
        <location filename="../WindowDialogs.cpp" line="30"/>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <location filename="../WindowDialogs.cpp" line="40"/>
        <source>Save the picture</source>
        <translation>Сохранить рисунок</translation>
    </message>
</context>
</TS>
