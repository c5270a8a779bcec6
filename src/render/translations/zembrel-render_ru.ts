<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Chemistry</name>
    <message>
        <location filename="../../molecule/MarkPlan.cpp" line="66"/>
        <source>The picture needs %1 different marks to show where its electrons came from; there are %2.</source>
        <translation>Чтобы показать, откуда пришли электроны, картинке нужно %1 разных значков, а их всего %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/ComponentLayout.cpp" line="189"/>
        <location filename="../../molecule/Shells.cpp" line="132"/>
        <source>Atom %1 (%2) has too many bonds and electron pairs to draw them apart.</source>
        <translation>У атома %1 (%2) слишком много связей и электронных пар, чтобы нарисовать их порознь.</translation>
    </message>
    <message>
        <location filename="../../molecule/Drawing.cpp" line="31"/>
        <source>The picture would show %1 valence electrons where the molecule has %2.</source>
        <translation>На картинке было бы %1 валентных электронов, а в молекуле их %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Drawing.cpp" line="64"/>
        <location filename="../../molecule/IonFrame.cpp" line="69"/>
        <location filename="../../shape/ShapeLayout.cpp" line="512"/>
        <source>The dot radius must lie between %1 and %2.</source>
        <translation>Радиус точки должен быть от %1 до %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Drawing.cpp" line="69"/>
        <location filename="../../molecule/Molecule.cpp" line="165"/>
        <location filename="../../shape/ShapeLayout.cpp" line="487"/>
        <source>The input holds no atoms.</source>
        <translation>Во входных данных нет атомов.</translation>
    </message>
    <message>
        <location filename="../../molecule/Drawing.cpp" line="71"/>
        <source>A molecule&apos;s shape is drawn by its own layout.</source>
        <translation>Форма молекулы рисуется своей раскладкой.</translation>
    </message>
    <message>
        <location filename="../../molecule/Drawing.cpp" line="90"/>
        <source>The molecule&apos;s layout puts bonds across each other, so its electrons cannot be shown clearly.</source>
        <translation>В раскладке молекулы связи пересекаются, её электроны не показать ясно.</translation>
    </message>
    <message>
        <location filename="../../molecule/Drawing.cpp" line="98"/>
        <source>Shells are drawn with dots and with dots and crosses only.</source>
        <translation>Оболочки рисуются только с точками и с точками и крестиками.</translation>
    </message>
    <message>
        <location filename="../../molecule/Drawing.cpp" line="165"/>
        <location filename="../../shape/ShapeLayout.cpp" line="526"/>
        <source>The molecule is too crowded to place its electrons apart from each other.</source>
        <translation>Молекула слишком тесная, чтобы разместить её электроны порознь.</translation>
    </message>
    <message>
        <location filename="../../molecule/IonFrame.cpp" line="66"/>
        <source>The charge must lie between −%1 and %1 and not be 0.</source>
        <translation>Заряд должен быть от −%1 до %1 и не равен 0.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="54"/>
        <source>%1 (%2, position %3)</source>
        <translation>%1 (%2, позиция %3)</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="56"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="63"/>
        <source>Atom %1: %2</source>
        <translation>Атом %1: %2</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="147"/>
        <source>RDKit refuses it: %1</source>
        <translation>RDKit его не принимает: %1</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="152"/>
        <source>The aromatic atoms %1 cannot be given alternating single and double bonds.</source>
        <translation>Ароматическим атомам %1 не расставить чередующиеся одинарные и двойные связи.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="157"/>
        <location filename="../../molecule/Molecule.cpp" line="632"/>
        <location filename="../../molecule/ReaderModule.cpp" line="21"/>
        <source>RDKit refuses the molecule: %1</source>
        <translation>RDKit не принимает молекулу: %1</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="167"/>
        <location filename="../../molecule/Molecule.cpp" line="828"/>
        <source>The molecule has %1 atoms; at most %2 can be drawn.</source>
        <translation>В молекуле %1 атомов; нарисовать можно не больше %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="174"/>
        <location filename="../../molecule/Molecule.cpp" line="182"/>
        <source>a query atom stands for a choice of elements and cannot be drawn.</source>
        <translation>атом-запрос означает выбор из элементов, его не нарисовать.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="178"/>
        <source>a wildcard atom stands for no element and cannot be drawn.</source>
        <translation>атом-шаблон не означает никакого элемента, его не нарисовать.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="186"/>
        <source>only main-group elements can be drawn, as their outer shell holds all their valence electrons.</source>
        <translation>рисуются только элементы главных подгрупп: у них все валентные электроны на внешней оболочке.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="191"/>
        <source>the charge %1 lies beyond ±%2.</source>
        <translation>заряд %1 выходит за ±%2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="202"/>
        <source>Bond %1 (atoms %2 and %3): only single, double, triple, aromatic and dative bonds can be drawn.</source>
        <translation>Связь %1 (атомы %2 и %3): рисуются только одинарные, двойные, тройные, ароматические и донорно-акцепторные связи.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="619"/>
        <location filename="../../molecule/Molecule.cpp" line="912"/>
        <source>The molecule has %1 atoms with its hydrogens; at most %2 can be drawn.</source>
        <translation>В молекуле вместе с водородами %1 атомов; нарисовать можно не больше %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="648"/>
        <source>its electrons do not add up: %1 outer, charge %2, %3 in bonds and %4 unpaired leave %5 for lone pairs.</source>
        <translation>его электроны не сходятся: внешних %1, заряд %2, в связях %3, неспаренных %4 — на неподелённые пары остаётся %5.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="665"/>
        <source>it would hold %1 electrons, more than the %2 its outer shell can.</source>
        <translation>в нём было бы %1 электронов, больше, чем %2, которые вмещает его внешний слой.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="692"/>
        <source>RDKit cannot lay the molecule out: %1</source>
        <translation>RDKit не может разложить молекулу на плоскости: %1</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="812"/>
        <source>The SMILES is empty.</source>
        <translation>SMILES пуст.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="814"/>
        <source>The SMILES is %1 characters long; at most %2 are read.</source>
        <translation>В SMILES %1 знаков; читается не больше %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="821"/>
        <source>SMILES, position %1: “%2” cannot stand in a SMILES.</source>
        <translation>SMILES, позиция %1: знак «%2» не может стоять в SMILES.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="823"/>
        <source>a space</source>
        <translation>пробел</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="850"/>
        <source>it cannot be read</source>
        <translation>его не прочитать</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="853"/>
        <source>SMILES, position %1: %2.</source>
        <translation>SMILES, позиция %1: %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="855"/>
        <source>SMILES: %1.</source>
        <translation>SMILES: %1.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="866"/>
        <source>The molfile is empty.</source>
        <translation>Molfile пуст.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="868"/>
        <source>The molfile is %1 bytes long; at most %2 are read.</source>
        <translation>В molfile %1 байт; читается не больше %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="884"/>
        <source>The molfile has %1 atoms; at most %2 can be drawn.</source>
        <translation>В molfile %1 атомов; нарисовать можно не больше %2.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="895"/>
        <location filename="../../molecule/Molecule.cpp" line="900"/>
        <source>Molfile: %1</source>
        <translation>Molfile: %1</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="899"/>
        <source>The molfile holds no molecule.</source>
        <translation>В molfile нет молекулы.</translation>
    </message>
    <message>
        <location filename="../../molecule/Molecule.cpp" line="931"/>
        <source>The structure has a bond that cannot be drawn.</source>
        <translation>В структуре есть связь, которую нельзя нарисовать.</translation>
    </message>
    <message>
        <location filename="../../molecule/MoleculeReader.cpp" line="51"/>
        <source>it is not at %1</source>
        <translation>его нет по пути %1</translation>
    </message>
    <message>
        <location filename="../../molecule/MoleculeReader.cpp" line="59"/>
        <source>The molecule reader cannot be loaded: %1</source>
        <translation>Не удалось загрузить модуль чтения молекул: %1</translation>
    </message>
    <message>
        <location filename="../../molecule/ReaderModule.cpp" line="19"/>
        <source>There is not enough memory to read the molecule.</source>
        <translation>Недостаточно памяти, чтобы прочитать молекулу.</translation>
    </message>
</context>
<context>
    <name>LewisText</name>
    <message>
        <location filename="../../lewis/Domains.cpp" line="29"/>
        <location filename="../../lewis/Domains.cpp" line="38"/>
        <source>linear</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>линейная</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="30"/>
        <source>trigonal planar</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>плоский треугольник</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="31"/>
        <location filename="../../lewis/Domains.cpp" line="34"/>
        <source>bent</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>угловая</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="32"/>
        <source>tetrahedral</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>тетраэдр</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="33"/>
        <source>trigonal pyramidal</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>тригональная пирамида</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="35"/>
        <source>trigonal bipyramidal</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>тригональная бипирамида</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="36"/>
        <source>seesaw</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>качели</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="37"/>
        <source>T-shaped</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>Т-образная</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="39"/>
        <source>octahedral</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>октаэдр</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="40"/>
        <source>square pyramidal</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>квадратная пирамида</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="41"/>
        <source>square planar</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>плоский квадрат</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="42"/>
        <source>pentagonal bipyramidal</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>пентагональная бипирамида</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="43"/>
        <source>distorted octahedral</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>искажённый октаэдр</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="44"/>
        <source>pentagonal planar</source>
        <comment>a molecule&apos;s shape</comment>
        <translation>плоский пятиугольник</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="49"/>
        <source>linear</source>
        <comment>the electron domains&apos; geometry</comment>
        <translation>линейное</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="50"/>
        <source>trigonal planar</source>
        <comment>the electron domains&apos; geometry</comment>
        <translation>треугольное</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="51"/>
        <source>tetrahedral</source>
        <comment>the electron domains&apos; geometry</comment>
        <translation>тетраэдрическое</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="52"/>
        <source>trigonal bipyramidal</source>
        <comment>the electron domains&apos; geometry</comment>
        <translation>тригонально-бипирамидальное</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="53"/>
        <source>octahedral</source>
        <comment>the electron domains&apos; geometry</comment>
        <translation>октаэдрическое</translation>
    </message>
    <message>
        <location filename="../../lewis/Domains.cpp" line="54"/>
        <source>pentagonal bipyramidal</source>
        <comment>the electron domains&apos; geometry</comment>
        <translation>пентагонально-бипирамидальное</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="44"/>
        <source>%1 %2 ×%3</source>
        <comment>an element, its value, how many atoms have it</comment>
        <translation>%1 %2 ×%3</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="47"/>
        <location filename="../../lewis/Explanation.cpp" line="97"/>
        <location filename="../../lewis/Explanation.cpp" line="220"/>
        <source>%1 %2</source>
        <comment>an element and its value</comment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="98"/>
        <source>%1 %2 × %3 = %4</source>
        <comment>an element: atoms times electrons</comment>
        <translation>%1 %2 × %3 = %4</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="106"/>
        <source>%1, and %2 more for the charge %3</source>
        <translation>%1 и ещё %2 за заряд %3</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="108"/>
        <source>%1, less %2 for the charge %3</source>
        <translation>%1 и на %2 меньше за заряд %3</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="109"/>
        <source>Valence electrons: %1; total %2.</source>
        <translation>Валентные электроны: %1; всего %2.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="115"/>
        <source>Formal charges (valence electrons − lone-pair electrons − bonds): all 0.</source>
        <translation>Формальные заряды (валентные электроны − электроны неподелённых пар − связи): все 0.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="116"/>
        <source>Formal charges (valence electrons − lone-pair electrons − bonds): %1; together %2, the charge of the whole.</source>
        <translation>Формальные заряды (валентные электроны − электроны неподелённых пар − связи): %1; вместе %2, заряд частицы.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="125"/>
        <source>One atom: no shape to name.</source>
        <translation>Один атом: формы не назвать.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="127"/>
        <source>Two atoms: the molecule is linear.</source>
        <translation>Два атома: молекула линейная.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="129"/>
        <source>No one central atom: no single shape (AXE) to name.</source>
        <translation>Нет одного центрального атома: одной формы (AXE) не назвать.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="132"/>
        <source>lone pairs: %1, and one unpaired electron</source>
        <translation>неподелённых пар: %1 и один неспаренный электрон</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="133"/>
        <source>lone pairs: %1</source>
        <translation>неподелённых пар: %1</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="136"/>
        <source>Electron domains on %1: %2 (bonded atoms: %3; %4): %5.</source>
        <translation>Областей электронной плотности у атома %1: %2 (связанных атомов: %3; %4): %5.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="142"/>
        <source>Electron domains on %1: %2 (bonded atoms: %3; %4): %5; electron-domain geometry %6; shape: %7.</source>
        <translation>Областей электронной плотности у атома %1: %2 (связанных атомов: %3; %4): %5; их расположение %6; форма частицы: %7.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="177"/>
        <source>The picture holds %1 electrons, not the %2 valence electrons counted.</source>
        <translation>На рисунке %1 электронов, а не %2 сосчитанных валентных.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="201"/>
        <source>The picture&apos;s atoms have %1 valence electrons, not the %2 counted.</source>
        <translation>У атомов на рисунке %1 валентных электронов, а не %2 сосчитанных.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="207"/>
        <source>%1, worked out from its formula:</source>
        <translation>%1, структура выведена из формулы:</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="224"/>
        <source>Central atom: %1, the least electronegative of the elements written once, H and F aside (%2).</source>
        <translation>Центральный атом: %1, наименее электроотрицательный из элементов, записанных один раз, кроме H и F (%2).</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="230"/>
        <source>Central atom: %1, the one element written once, H and F aside.</source>
        <translation>Центральный атом: %1, единственный элемент, записанный один раз, кроме H и F.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="233"/>
        <source>Central atom: the middle one of the three %1 atoms.</source>
        <translation>Центральный атом: средний из трёх атомов %1.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="235"/>
        <source>Two atoms: one bonded to the other.</source>
        <translation>Два атома: связаны друг с другом.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="236"/>
        <source>One atom: no bonds.</source>
        <translation>Один атом: связей нет.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="241"/>
        <source>Of the hydrogens written first, %1 are on oxygen atoms, as in every oxyacid, and %2 on P, which keeps one oxygen of its own, P=O.</source>
        <translation>Из атомов водорода, записанных первыми, %1 — у атомов кислорода, как в любой кислородсодержащей кислоте, и %2 — у P, который оставляет при себе один атом кислорода, P=O.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="247"/>
        <source>The hydrogens written first (%1) are on oxygen atoms, as in every oxyacid.</source>
        <translation>Атомы водорода, записанные первыми (%1), — у атомов кислорода, как в любой кислородсодержащей кислоте.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="259"/>
        <source>Every valence electron on the atom, singly round the symbol up to four, then paired: lone pairs %1, unpaired %2.</source>
        <translation>Все валентные электроны — у атома: до четырёх по одному вокруг символа, дальше парами; неподелённых пар %1, неспаренных %2.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="265"/>
        <source>Skeleton: a single bond to every outer atom; bonding pairs: %1 (%2 electrons).</source>
        <translation>Скелет: одинарная связь с каждым внешним атомом; связывающих пар: %1 (электронов: %2).</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="269"/>
        <source>%1 − %2 − %3 = %4 left for %5</source>
        <translation>%1 − %2 − %3 = %4 — на атоме %5</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="275"/>
        <source>%1 − %2 = %3: too few to give every outer atom its octet with single bonds</source>
        <translation>%1 − %2 = %3: мало, чтобы при одинарных связях у каждого внешнего атома был октет</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="280"/>
        <source>The outer atoms&apos; octets completed (H: two): %1 electrons in lone pairs; %2.</source>
        <translation>Октеты внешних атомов дополнены (у H — два): электронов в неподелённых парах: %1; %2.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="299"/>
        <source>Multiple bonds: none; the formal charges are least as they stand.</source>
        <translation>Кратных связей нет: формальные заряды и так наименьшие.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="304"/>
        <source>%1 keeps %2 electrons, short of an octet, as B, Be and Al do: a double bond would put a positive charge on an outer atom.</source>
        <translation>У %1 остаётся %2 электронов, меньше октета, как у B, Be и Al: двойная связь дала бы внешнему атому положительный заряд.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="317"/>
        <source>%1 ×%2</source>
        <comment>a bond and how many</comment>
        <translation>%1 ×%2</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="322"/>
        <source>to give %1 its octet (it had %2 electrons)</source>
        <translation>чтобы у %1 был октет (у него было электронов: %2)</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="323"/>
        <source>to make the formal charges least</source>
        <translation>чтобы формальные заряды были наименьшими</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="324"/>
        <source>Multiple bonds: lone pairs of outer atoms made into bonds, %1, %2.</source>
        <translation>Кратные связи: неподелённые пары внешних атомов стали связями, %1, %2.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="328"/>
        <source>%1 now holds %2 electrons: from the third period on, an atom may hold more than eight.</source>
        <translation>Теперь у %1 %2 электронов: начиная с третьего периода у атома может быть больше восьми.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="339"/>
        <source>The count is odd: one electron stays unpaired, on %1.</source>
        <translation>Число нечётное: один электрон остаётся неспаренным, на атоме %1.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="348"/>
        <source>Check: %1 bonding pairs (%2 electrons), %3 lone pairs (%4)%5 make %6, the valence electrons.</source>
        <translation>Проверка: связывающих пар %1 (электронов: %2), неподелённых пар %3 (%4)%5 — всего %6, столько же, сколько валентных электронов.</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="354"/>
        <source> and %1 unpaired</source>
        <translation> и неспаренных %1</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="373"/>
        <source>Part %1: %2 × %3</source>
        <translation>Часть %1: %2 × %3</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="374"/>
        <source>Part %1: %2</source>
        <translation>Часть %1: %2</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="377"/>
        <source>Bonding pairs: %1 (%2 electrons); lone pairs: %3 (%4 electrons)</source>
        <translation>Связывающих пар: %1 (электронов: %2); неподелённых пар: %3 (электронов: %4)</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="383"/>
        <source>, on %1</source>
        <translation>, у %1</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="385"/>
        <source>; unpaired electrons: %1</source>
        <translation>; неспаренных электронов: %1</translation>
    </message>
    <message>
        <location filename="../../lewis/Explanation.cpp" line="408"/>
        <source>%1, %2</source>
        <comment>AXE notation and shape</comment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="126"/>
        <source>more than one skeleton can be drawn for it, and the formula does not say which; the table&apos;s name or a SMILES says which</source>
        <translation>для неё можно нарисовать несколько скелетов, и формула не говорит, какой; какой — скажет название из таблицы или SMILES</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="145"/>
        <source>%1 forms no compounds</source>
        <translation>%1 не образует соединений</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="147"/>
        <source>%1 is a metal that forms ions, not covalent bonds; the table holds the common salts, or a SMILES draws the ions, as [Na+].[Cl-]</source>
        <translation>%1 — металл, он образует ионы, а не ковалентные связи; обычные соли есть в таблице, а ионы можно нарисовать по SMILES, например [Na+].[Cl-]</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="462"/>
        <source>a charge of %1 takes more electrons than its atoms have (%2)</source>
        <translation>заряд %1 отнимает больше электронов, чем есть у атомов (%2)</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="474"/>
        <source>%1 would hold %2 electrons, more than the %3 its outer shell can</source>
        <translation>у %1 было бы %2 электронов, больше %3, которые вмещает его внешняя оболочка</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="487"/>
        <source>it has %1 atoms besides hydrogen; at most %2 are worked out</source>
        <translation>в ней %1 атомов кроме водорода; выводится структура не более чем из %2</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="523"/>
        <source>%1 would hold %2 electrons in its bonds alone, more than the %3 its outer shell can</source>
        <translation>у %1 одни связи заняли бы %2 электронов, больше %3, которые вмещает его внешняя оболочка</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="529"/>
        <source>no way of placing its %1 valence electrons gives every atom its octet</source>
        <translation>никакое размещение её %1 валентных электронов не даёт каждому атому октет</translation>
    </message>
    <message>
        <location filename="../../lewis/Procedure.cpp" line="534"/>
        <source>%1 would carry a formal charge of %2: no such species is drawn</source>
        <translation>у %1 был бы формальный заряд %2: такие частицы не рисуются</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="44"/>
        <source>the count %1 is not from 1 to %2</source>
        <translation>число %1 не от 1 до %2</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="55"/>
        <source>a group in brackets inside another is not worked out</source>
        <translation>группа в скобках внутри другой не разбирается</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="65"/>
        <source>a bracket closes that was not opened</source>
        <translation>закрыта скобка, которая не открывалась</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="69"/>
        <source>a bracket holds nothing</source>
        <translation>в скобках ничего нет</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="81"/>
        <source>a count stands before any element</source>
        <translation>число стоит раньше элемента</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="93"/>
        <source>an element&apos;s symbol begins with a capital letter: &quot;%1&quot;</source>
        <translation>символ элемента начинается с заглавной буквы: «%1»</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="99"/>
        <source>no element is written &quot;%1&quot;</source>
        <translation>нет элемента с символом «%1»</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="103"/>
        <source>%1 is a transition metal, whose bonds the octet rules do not describe</source>
        <translation>%1 — переходный металл, его связи правило октета не описывает</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="114"/>
        <source>a bracket is not closed</source>
        <translation>скобка не закрыта</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="188"/>
        <source>a hydrate or an adduct is several species: draw each of them</source>
        <translation>гидрат или аддукт — это несколько частиц: нарисуйте каждую</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="193"/>
        <source>it is not a formula</source>
        <translation>это не формула</translation>
    </message>
    <message>
        <location filename="../../lewis/WrittenFormula.cpp" line="216"/>
        <source>it has %1 atoms; at most %2 can be drawn</source>
        <translation>в ней %1 атомов; нарисовать можно не больше %2</translation>
    </message>
</context>
<context>
    <name>RenderText</name>
    <message>
        <location filename="../Batch.cpp" line="39"/>
        <source>%1: cannot read the list: %2</source>
        <translation>%1: не удалось прочитать список: %2</translation>
    </message>
    <message>
        <location filename="../Batch.cpp" line="52"/>
        <source>the line is not UTF-8</source>
        <translation>строка не в кодировке UTF-8</translation>
    </message>
    <message>
        <location filename="../Batch.cpp" line="66"/>
        <source>--caption is for a --sheet</source>
        <translation>--caption — для --sheet</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="195"/>
        <source>More: zembrel-render --help</source>
        <translation>Подробнее: zembrel-render --help</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="202"/>
        <source>argument %1 is not UTF-8</source>
        <translation>аргумент %1 не в кодировке UTF-8</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="207"/>
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
        <location filename="../main.cpp" line="213"/>
        <source>Show this help.</source>
        <translation>Эта справка.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="217"/>
        <source>No warnings; errors are still printed.</source>
        <translation>Без предупреждений; об ошибках сказано всё равно.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="220"/>
        <source>Pictures from the lines of FILE (&quot;-&quot; is standard input).</source>
        <translation>Картинки по строкам файла («-» — стандартный ввод).</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="220"/>
        <location filename="../main.cpp" line="231"/>
        <location filename="../RenderJob.cpp" line="402"/>
        <location filename="../RenderJob.cpp" line="415"/>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="223"/>
        <source>Relative picture names are taken under DIR, which must exist.</source>
        <translation>Относительные имена картинок берутся в папке ПАПКА; она должна быть.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="224"/>
        <source>DIR</source>
        <translation>ПАПКА</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="227"/>
        <source>A practice sheet instead: the pictures in a grid, numbered, each with its caption, on pages as many as they fill; PDF, SVG or PNG by FILE&apos;s extension (SVG and PNG a file a page: FILE, then NAME-2 and on). The pictures come from the --batch lines, which need no -o, or from each --name, --formula and --smiles given.</source>
        <translation>Вместо этого лист упражнений: рисунки сеткой, с номерами и подписями, на стольких страницах, сколько займут; PDF, SVG или PNG по расширению ФАЙЛА (SVG и PNG — файл на страницу: ФАЙЛ, затем ИМЯ-2 и далее). Рисунки берутся из строк --batch, которым не нужен -o, или из каждого данного --name, --formula и --smiles.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="234"/>
        <source>The sheet&apos;s paper: a4 (the default) or letter.</source>
        <translation>Бумага листа: a4 (по умолчанию) или letter.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="234"/>
        <source>PAPER</source>
        <translation>БУМАГА</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="236"/>
        <source>The sheet&apos;s title, at the top of every page.</source>
        <translation>Заголовок листа, вверху каждой страницы.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="237"/>
        <location filename="../RenderJob.cpp" line="451"/>
        <source>TEXT</source>
        <translation>ТЕКСТ</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="240"/>
        <source>After the sheet&apos;s pages, the same pictures again filled in, numbered alike: the answers to a sheet drawn with --blank.</source>
        <translation>После страниц листа — те же рисунки полностью, с теми же номерами: ответы к листу, нарисованному с --blank.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="244"/>
        <source>Print how the molecule&apos;s Lewis structure is worked out (for a formula the table lacks) or its counts: valence electrons, bonding and lone pairs, formal charges, the AXE notation and the shape. Without -o, no picture is made.</source>
        <translation>Напечатать, как выводится структура Льюиса молекулы (для формулы, которой нет в таблице), или её подсчёт: валентные электроны, связывающие и неподелённые пары, формальные заряды, обозначение AXE и форму. Без -o рисунок не делается.</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="261"/>
        <source>output folder &quot;%1&quot;: there is no such folder</source>
        <translation>папка для картинок «%1»: такой папки нет</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="266"/>
        <source>warning: %1</source>
        <translation>предупреждение: %1</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="270"/>
        <source>--explain is for one molecule, not for a --sheet or a --batch</source>
        <translation>--explain — для одной молекулы, не для --sheet или --batch</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="272"/>
        <source>--explain prints to standard output: give -o a file</source>
        <translation>--explain печатает в стандартный вывод: укажите в -o файл</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="291"/>
        <source>page &quot;%1&quot;: it is a4 or letter</source>
        <translation>page «%1»: это a4 или letter</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="299"/>
        <source>sheet &quot;%1&quot;: its name ends in .pdf, .svg or .png</source>
        <translation>sheet «%1»: имя должно оканчиваться на .pdf, .svg или .png</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="301"/>
        <source>with --sheet, the pictures go on the sheet: give no -o</source>
        <translation>с --sheet рисунки идут на лист: -o не нужен</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="329"/>
        <source>--%1 is for a --sheet</source>
        <translation>--%1 — для --sheet</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="336"/>
        <source>with --batch, &quot;%1&quot; goes on the lines of the file</source>
        <translation>с --batch «%1» пишется в строках файла</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="306"/>
        <location filename="../main.cpp" line="339"/>
        <source>with --batch, the symbol goes on the lines of the file</source>
        <translation>с --batch обозначение пишется в строках файла</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="341"/>
        <source>no batch file given: --batch FILE</source>
        <translation>не задан файл пакета: --batch ФАЙЛ</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="137"/>
        <location filename="../Renderer.cpp" line="150"/>
        <source>it is a folder</source>
        <translation>по этому пути находится папка</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="139"/>
        <source>it is a socket</source>
        <translation>по этому пути находится сокет</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="141"/>
        <source>it is a block device</source>
        <translation>по этому пути находится блочное устройство</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="142"/>
        <source>it is not a file</source>
        <translation>по этому пути находится не файл</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="146"/>
        <source>no such folder</source>
        <translation>такой папки нет</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="148"/>
        <source>permission denied</source>
        <translation>отказано в доступе</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="149"/>
        <source>read-only file system</source>
        <translation>файловая система доступна только для чтения</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="151"/>
        <source>file name too long</source>
        <translation>слишком длинное имя файла</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="153"/>
        <source>invalid file name</source>
        <translation>недопустимое имя файла</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="155"/>
        <source>no space left on device</source>
        <translation>на диске нет места</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="156"/>
        <source>input/output error</source>
        <translation>ошибка ввода-вывода</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="157"/>
        <source>the reader closed the pipe</source>
        <translation>читающая сторона закрыла канал</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="158"/>
        <source>no such open descriptor</source>
        <translation>такой открытый дескриптор не найден</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="168"/>
        <location filename="../Renderer.cpp" line="295"/>
        <location filename="../Renderer.cpp" line="323"/>
        <source>not enough memory for the picture</source>
        <translation>недостаточно памяти для картинки</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="169"/>
        <source>the picture is too large to draw</source>
        <translation>картинка слишком велика, её не нарисовать</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="170"/>
        <source>the font cannot take this value</source>
        <translation>шрифт не принимает такое значение</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="171"/>
        <source>cannot encode the picture (%1)</source>
        <translation>не удалось закодировать картинку (%1)</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="177"/>
        <source>standard output</source>
        <translation>стандартный вывод</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="290"/>
        <location filename="../Renderer.cpp" line="292"/>
        <location filename="../Renderer.cpp" line="294"/>
        <source>%1: cannot make the sheet: %2</source>
        <translation>%1: не удалось сделать лист: %2</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="317"/>
        <location filename="../Renderer.cpp" line="319"/>
        <location filename="../Renderer.cpp" line="322"/>
        <source>%1: cannot make the picture: %2</source>
        <translation>%1: не удалось сделать картинку: %2</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="302"/>
        <location filename="../Renderer.cpp" line="328"/>
        <source>%1: cannot write: %2</source>
        <translation>%1: не удалось записать: %2</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="387"/>
        <source>%1: %2 of the %3 resonance forms found are drawn</source>
        <translation>%1: нарисованы %2 из %3 найденных резонансных структур</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="393"/>
        <source>%1: the search for resonance forms stopped at its limits; there may be more</source>
        <translation>%1: поиск резонансных структур остановлен на своих пределах; их может быть больше</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="397"/>
        <source>%1: no resonance form besides the one given</source>
        <translation>%1: других резонансных структур, кроме заданной, нет</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="403"/>
        <source>%1: in dots and crosses, each resonance form&apos;s electrons take their marks by the rules alone; a pair that moves is not followed from form to form</source>
        <translation>%1: в точках и крестиках электроны каждой резонансной структуры получают знаки только по правилам; переходящая пара не прослеживается от структуры к структуре</translation>
    </message>
    <message>
        <location filename="../Renderer.cpp" line="419"/>
        <source>the font &quot;%1&quot; is not on this system; drawing with &quot;%2&quot;</source>
        <translation>шрифта «%1» в системе нет, рисую шрифтом «%2»</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="47"/>
        <source>&quot;%1&quot; (%2)</source>
        <translation>«%1» (%2)</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="55"/>
        <source>symbol &quot;%1&quot;: %2 is not a letter of the Latin or Russian alphabet</source>
        <translation>обозначение «%1»: знак %2 не буква латинского или русского алфавита</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="58"/>
        <source>symbol &quot;%1&quot;: the letter %2 is one too many, a symbol has at most two</source>
        <translation>обозначение «%1»: буква %2 лишняя, букв не больше двух</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="94"/>
        <source>dots &quot;%1&quot;: an empty entry; give slot numbers 0 to 15 separated by commas</source>
        <translation>точки «%1»: пустой номер; нужны номера мест от 0 до 15 через запятую</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="99"/>
        <source>dot &quot;%1&quot;: slot numbers are whole numbers from 0 to 15</source>
        <translation>точка «%1»: номера точек — целые числа от 0 до 15</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="108"/>
        <source>dots %1 and %2 cannot go together: they are the two groups of one side</source>
        <translation>точки %1 и %2 не ставятся вместе: это разные группы одной стороны</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="120"/>
        <source>radius &quot;%1&quot;: give a number from 0.5 to 10 in steps of 0.5</source>
        <translation>радиус «%1»: нужно число от 0.5 до 10 с шагом 0.5</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="130"/>
        <source>the font name cannot be empty</source>
        <translation>имя шрифта не может быть пустым</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="135"/>
        <source>font size &quot;%1&quot;: give a number above 0 and at most 2160</source>
        <translation>размер шрифта «%1»: нужно число больше 0 и не больше 2160</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="142"/>
        <source>font weight &quot;%1&quot;: give a whole number from 1 to 1000</source>
        <translation>насыщенность «%1»: нужно целое число от 1 до 1000</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="165"/>
        <source>format &quot;%1&quot;: it is bmp, png or svg</source>
        <translation>формат «%1»: бывает bmp, png или svg</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="167"/>
        <source>cannot tell the format from the name &quot;%1&quot;: use the extension .bmp, .png or .svg, or --format</source>
        <translation>по имени «%1» не понять формат: нужно расширение .bmp, .png или .svg, либо --format</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="177"/>
        <source>--mol -: standard input is taken by the batch list; name the molfile</source>
        <translation>--mol -: стандартный ввод занят списком пакета; назовите файл molfile</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="182"/>
        <location filename="../RenderJob.cpp" line="187"/>
        <source>molfile &quot;%1&quot;: cannot read it: %2</source>
        <translation>molfile «%1»: не удалось прочитать: %2</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="210"/>
        <source>&quot;%1&quot;</source>
        <comment>one of the closest names</comment>
        <translation>«%1»</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="231"/>
        <source>no molecule or ion is named &quot;%1&quot;</source>
        <translation>нет молекулы или иона с названием «%1»</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="232"/>
        <source>no molecule or ion is named &quot;%1&quot;; the closest names: %2</source>
        <translation>нет молекулы или иона с названием «%1»; ближайшие названия: %2</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="265"/>
        <source>--relayout is for --mol</source>
        <translation>--relayout бывает только с --mol</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="270"/>
        <source>--%1 is for a molecule: --smiles, --mol, --name or --formula</source>
        <translation>--%1 бывает только с молекулой: --smiles, --mol, --name или --formula</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="276"/>
        <source>--%1 and --%2: give one of them</source>
        <translation>--%1 и --%2: нужно что-то одно из них</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="279"/>
        <source>--%1 is for one atom&apos;s symbol, not for a molecule</source>
        <translation>--%1 для символа одного атома, не для молекулы</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="283"/>
        <source>extra argument &quot;%1&quot;: a molecule needs no symbol</source>
        <translation>лишний аргумент «%1»: молекуле обозначение не нужно</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="292"/>
        <source>layout &quot;%1&quot;: it is textbook or depiction</source>
        <translation>раскладка «%1»: бывает textbook или depiction</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="379"/>
        <source>en</source>
        <comment>the language of species&apos; names on a sheet: en or ru</comment>
        <translation>ru</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="380"/>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="342"/>
        <source>charges &quot;%1&quot;: they are auto, all or none</source>
        <translation>charges «%1»: это auto, all или none</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="346"/>
        <source>--shells is for --style dots and --style dot-cross</source>
        <translation>--shells только для --style dots и --style dot-cross</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="350"/>
        <source>--marks is for --style dot-cross</source>
        <translation>--marks только для --style dot-cross</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="356"/>
        <source>marks &quot;%1&quot;: give ELEMENT=MARK pairs separated by commas, as O=cross,H=dot</source>
        <translation>значки «%1»: нужны пары ЭЛЕМЕНТ=ЗНАЧОК через запятую, например O=cross,H=dot</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="361"/>
        <source>marks &quot;%1&quot;: &quot;%2&quot; is not an element symbol</source>
        <translation>значки «%1»: «%2» — не символ элемента</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="365"/>
        <source>marks &quot;%1&quot;: &quot;%2&quot; is not a mark; the marks are dot, cross, ring, square and triangle</source>
        <translation>значки «%1»: «%2» — не значок; значки бывают dot (точка), cross (крестик), ring (кружок), square (квадрат) и triangle (треугольник)</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="369"/>
        <source>marks &quot;%1&quot;: %2 is given twice</source>
        <translation>значки «%1»: %2 указан дважды</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="387"/>
        <source>SYMBOL</source>
        <translation>ОБОЗНАЧЕНИЕ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="387"/>
        <source>One or two letters, Latin or Russian.</source>
        <translation>Одна или две буквы, латинские или русские.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="389"/>
        <source>Dots: slot numbers 0 to 15, separated by commas.</source>
        <translation>Точки: номера мест от 0 до 15 через запятую.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="390"/>
        <source>Dot radius: 0.5 to 10 in steps of 0.5 (default 2).</source>
        <translation>Радиус точки: от 0.5 до 10 с шагом 0.5 (по умолчанию 2).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="391"/>
        <source>Font family (default Arial).</source>
        <translation>Шрифт (по умолчанию Arial).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="391"/>
        <source>FAMILY</source>
        <translation>ШРИФТ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="392"/>
        <source>Font size in points (default 21.75).</source>
        <translation>Размер шрифта в пунктах (по умолчанию 21.75).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="392"/>
        <source>PT</source>
        <translation>ПТ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="393"/>
        <source>Font weight: 400 regular, 700 bold.</source>
        <translation>Насыщенность шрифта: 400 обычный, 700 полужирный.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="394"/>
        <source>Italic.</source>
        <translation>Курсив.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="395"/>
        <source>Scale: 1 to 8, that many times the pixels.</source>
        <translation>Масштаб: от 1 до 8, во столько раз больше пикселей.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="396"/>
        <source>Transparent ground (PNG and SVG).</source>
        <translation>Прозрачный фон (PNG и SVG).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="398"/>
        <source>Format: bmp, png or svg (default: the file&apos;s extension; png on standard output).</source>
        <translation>Формат: bmp, png или svg (по умолчанию по расширению файла; png на стандартный вывод).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="400"/>
        <source>FORMAT</source>
        <translation>ФОРМАТ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="401"/>
        <source>Picture file; &quot;-&quot; is standard output.</source>
        <translation>Файл картинки; «-» — стандартный вывод.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="403"/>
        <source>The atom&apos;s charge, -8 to 8: the picture in square brackets with it.</source>
        <translation>Заряд атома, от -8 до 8: картинка в квадратных скобках с зарядом.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="405"/>
        <source>A molecule or ion in SMILES, instead of a symbol.</source>
        <translation>Молекула или ион в записи SMILES вместо обозначения.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="407"/>
        <source>A molecule or ion by its name in Russian or English, from the table of school species (&quot;water&quot;, &quot;нитрат-ион&quot;).</source>
        <translation>Молекула или ион по названию на русском или английском из таблицы школьных веществ («вода», «nitrate ion»).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="409"/>
        <source>NAME</source>
        <translation>НАЗВАНИЕ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="411"/>
        <source>A molecule or ion by its school formula, from the same table (H2O, NH4+, CO3 2-).</source>
        <translation>Молекула или ион по школьной формуле из той же таблицы (H2O, NH4+, CO3 2-).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="413"/>
        <source>FORMULA</source>
        <translation>ФОРМУЛА</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="414"/>
        <source>A molecule or ion in an MDL molfile (&quot;-&quot; is standard input).</source>
        <translation>Молекула или ион в файле MDL molfile («-» — стандартный ввод).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="432"/>
        <source>Where a molecule&apos;s atoms stand when the input does not place them: textbook (the default: chains straight on a square grid, regular rings, as school books draw them) or depiction (the chemistry toolkit&apos;s 2D depiction).</source>
        <translation>Где стоят атомы молекулы, если ввод их не расставляет: textbook (по умолчанию: цепь прямо по квадратной сетке, правильные циклы, как в школьных учебниках) или depiction (двумерное изображение химического пакета).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="435"/>
        <source>LAYOUT</source>
        <translation>РАСКЛАДКА</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="437"/>
        <source>Lay the molfile&apos;s atoms out anew, in the --layout, instead of taking its coordinates.</source>
        <translation>Разложить атомы molfile заново, по --layout, а не брать его координаты.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="440"/>
        <source>Which atoms&apos; formal charges are drawn: auto (the default: in a neutral molecule all, in an ion where they say more than its charge), all or none (an ion&apos;s net charge alone).</source>
        <translation>Какие формальные заряды атомов рисовать: auto (по умолчанию: в нейтральной молекуле все, в ионе — там, где они говорят больше его заряда), all (все) или none (только заряд иона).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="443"/>
        <source>WHICH</source>
        <translation>КАКИЕ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="445"/>
        <source>Every resonance form of the molecule or ion, side by side with ↔ between them, each with its formal charges.</source>
        <translation>Все резонансные структуры молекулы или иона рядом, с ↔ между ними, каждая со своими формальными зарядами.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="448"/>
        <source>Leave out a molecule&apos;s lone-pairs, charges (its atoms&apos;) or bonds, any of them separated by commas, keeping their room: a picture for a student to complete.</source>
        <translation>Не рисовать неподелённые пары (lone-pairs), заряды атомов (charges) или связи (bonds) молекулы, через запятую, оставляя их место: рисунок для ученика.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="451"/>
        <source>The caption under the picture on a --sheet.</source>
        <translation>Подпись под рисунком на листе --sheet.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="465"/>
        <source>--explain is for a molecule: --smiles, --mol, --name or --formula</source>
        <translation>--explain — для молекулы: --smiles, --mol, --name или --formula</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="471"/>
        <source>%1:</source>
        <comment>the heading of a molecule&apos;s counts</comment>
        <translation>%1:</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="422"/>
        <source>STYLE</source>
        <translation>ВИД</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="239"/>
        <source>no molecule or ion of the table has the formula &quot;%1&quot;, and its structure cannot be worked out: %2</source>
        <translation>в таблице нет молекулы или иона с формулой «%1», а её структуру нельзя вывести: %2</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="242"/>
        <source>no molecule or ion of the table has the formula &quot;%1&quot;, and its structure cannot be worked out: %2; the closest formulas: %3</source>
        <translation>в таблице нет молекулы или иона с формулой «%1», а её структуру нельзя вывести: %2; ближайшие формулы: %3</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="417"/>
        <source>How a molecule&apos;s electrons are drawn: lewis (bonds as lines, the default), dots (every electron a dot), bars (lone pairs as bars), dot-cross (every electron in the mark of the atom it came from) or shape (the shape round the central atom, with wedges, a bond angle and the shape&apos;s name).</source>
        <translation>Как рисуются электроны молекулы: lewis (связи линиями, по умолчанию), dots (каждый электрон точкой), bars (неподелённые пары чёрточками), dot-cross (каждый электрон знаком атома, от которого он пришёл) или shape (форма вокруг центрального атома, с клиньями, валентным углом и названием формы).</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="424"/>
        <source>The marks of elements&apos; electrons with --style dot-cross, as O=cross,H=dot: dot, cross, ring, square or triangle (default: in that order, by first appearance).</source>
        <translation>Значки электронов элементов при --style dot-cross, например O=cross,H=dot: dot (точка), cross (крестик), ring (кружок), square (квадрат) или triangle (треугольник); по умолчанию в этом порядке, по первому появлению.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="426"/>
        <location filename="../RenderJob.cpp" line="450"/>
        <source>LIST</source>
        <translation>СПИСОК</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="428"/>
        <source>Each atom&apos;s outer shell as a circle with its electrons on it, for --style dots and dot-cross.</source>
        <translation>Внешняя оболочка каждого атома окружностью с его электронами на ней, для --style dots и dot-cross.</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="482"/>
        <source>no element symbol given</source>
        <translation>не задано обозначение элемента</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="484"/>
        <source>extra argument &quot;%1&quot;: there is one symbol</source>
        <translation>лишний аргумент «%1»: обозначение одно</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="486"/>
        <source>no picture file given: -o FILE</source>
        <translation>не задан файл картинки: -o ФАЙЛ</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="498"/>
        <source>style &quot;%1&quot;: it is lewis, dots, bars, dot-cross or shape</source>
        <translation>стиль «%1»: бывает lewis, dots, bars, dot-cross или shape</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="506"/>
        <source>--%1 is not for --style shape</source>
        <translation>--%1 не для --style shape</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="518"/>
        <source>blank &quot;%1&quot;: give lone-pairs, charges or bonds, separated by commas</source>
        <translation>blank «%1»: укажите lone-pairs, charges или bonds через запятую</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="529"/>
        <source>charge &quot;%1&quot;: give a whole number from -8 to 8</source>
        <translation>заряд «%1»: нужно целое число от -8 до 8</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="543"/>
        <source>scale &quot;%1&quot;: give a whole number from 1 to 8</source>
        <translation>масштаб «%1»: нужно целое число от 1 до 8</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="550"/>
        <source>font size %1 pt at scale %2 is too large: at most %3 pt at this scale</source>
        <translation>размер шрифта %1 пт при масштабе %2 слишком велик: не больше %3 пт при этом масштабе</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="557"/>
        <source>BMP has no transparency: --transparent is for PNG and SVG</source>
        <translation>у BMP нет прозрачности: --transparent только для PNG и SVG</translation>
    </message>
    <message>
        <location filename="../RenderJob.cpp" line="594"/>
        <source>the quote %1 is not closed</source>
        <translation>кавычка %1 не закрыта</translation>
    </message>
    <message>
        <location filename="../Sheet.cpp" line="52"/>
        <source>Answers</source>
        <translation>Ответы</translation>
    </message>
    <message>
        <location filename="../Sheet.cpp" line="52"/>
        <source>%1: answers</source>
        <translation>%1: ответы</translation>
    </message>
    <message>
        <location filename="../Sheet.cpp" line="84"/>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <location filename="../TypedInput.cpp" line="68"/>
        <source>Not in the table. As a formula, its structure cannot be worked out: %1. As a SMILES: %2</source>
        <translation>Этого нет в таблице. Как формула — структуру нельзя вывести: %1. Как SMILES: %2</translation>
    </message>
    <message>
        <location filename="../TypedInput.cpp" line="72"/>
        <source>Not a name or formula of the table, nor a SMILES: %1</source>
        <translation>Такого названия и формулы нет в таблице, и это не SMILES: %1</translation>
    </message>
    <message>
        <location filename="../TypedInput.cpp" line="75"/>
        <source>Not in the table, and its structure cannot be worked out: %1.</source>
        <translation>Этого нет в таблице, а структуру нельзя вывести: %1.</translation>
    </message>
    <message>
        <location filename="../TypedInput.cpp" line="78"/>
        <source>No molecule or ion of the table is called “%1”.</source>
        <translation>В таблице нет молекулы или иона с названием «%1».</translation>
    </message>
    <message>
        <location filename="../TypedInput.cpp" line="86"/>
        <source>%1, worked out from its formula</source>
        <translation>%1, структура выведена из формулы</translation>
    </message>
</context>
<context>
    <name>ServeText</name>
    <message>
        <location filename="../../serve/PictureQuery.cpp" line="89"/>
        <source>“%1” is given twice</source>
        <translation>«%1» задан дважды</translation>
    </message>
    <message>
        <location filename="../../serve/PictureQuery.cpp" line="98"/>
        <source>lang “%1”: it is en or ru</source>
        <translation>lang «%1»: бывает en или ru</translation>
    </message>
    <message>
        <location filename="../../serve/PictureQuery.cpp" line="103"/>
        <source>format “%1”: it is svg or png</source>
        <translation>формат «%1»: бывает svg или png</translation>
    </message>
    <message>
        <location filename="../../serve/PictureQuery.cpp" line="110"/>
        <source>unknown parameter “%1”</source>
        <translation>неизвестный параметр «%1»</translation>
    </message>
    <message>
        <location filename="../../serve/PictureQuery.cpp" line="116"/>
        <source>%1 “%2”: it is 1 or 0</source>
        <translation>%1 «%2»: бывает 1 или 0</translation>
    </message>
    <message>
        <location filename="../../serve/PictureQuery.cpp" line="123"/>
        <source>nothing to draw: give q, a name, formula, SMILES or element symbol</source>
        <translation>нечего рисовать: задайте q — название, формулу, SMILES или символ элемента</translation>
    </message>
    <message>
        <location filename="../../serve/PictureQuery.cpp" line="127"/>
        <source>“%1” is not an element symbol</source>
        <translation>«%1» — не символ элемента</translation>
    </message>
    <message>
        <location filename="../../serve/PictureServer.cpp" line="235"/>
        <source>the picture cannot be drawn: %1</source>
        <translation>рисунок не нарисовать: %1</translation>
    </message>
    <message>
        <location filename="../../serve/PictureServer.cpp" line="237"/>
        <source>not enough memory for the picture</source>
        <translation>не хватает памяти для рисунка</translation>
    </message>
    <message>
        <location filename="../../serve/PictureServer.cpp" line="262"/>
        <source>the request is too long</source>
        <translation>запрос слишком длинный</translation>
    </message>
    <message>
        <location filename="../../serve/PictureServer.cpp" line="264"/>
        <source>the server is busy; try again shortly</source>
        <translation>сервер занят; повторите чуть позже</translation>
    </message>
    <message>
        <location filename="../../serve/PictureServer.cpp" line="287"/>
        <source>the picture took too long to draw</source>
        <translation>рисунок рисовался слишком долго</translation>
    </message>
    <message>
        <location filename="../../serve/PictureServer.cpp" line="339"/>
        <location filename="../../serve/PictureServer.cpp" line="367"/>
        <source>no such page</source>
        <translation>такой страницы нет</translation>
    </message>
    <message>
        <location filename="../../serve/PictureServer.cpp" line="357"/>
        <source>only GET and HEAD are answered</source>
        <translation>отвечаем только на GET и HEAD</translation>
    </message>
</context>
<context>
    <name>ShapeText</name>
    <message>
        <location filename="../../shape/ShapeLayout.cpp" line="152"/>
        <source>A shape is drawn round one central atom that every other atom but hydrogens is bonded to, and %1 is bonded to another atom too; the shape round each centre of a larger molecule is not drawn.</source>
        <translation>Форма рисуется вокруг одного центрального атома, с которым связаны все остальные атомы, кроме водородов, а %1 связан ещё с одним атомом; форма вокруг каждого центра большой молекулы не рисуется.</translation>
    </message>
    <message>
        <location filename="../../shape/ShapeLayout.cpp" line="163"/>
        <source>A shape is drawn round one central atom, and this molecule has atoms apart from it.</source>
        <translation>Форма рисуется вокруг одного центрального атома, а в этой молекуле есть атомы, не связанные с ним.</translation>
    </message>
    <message>
        <location filename="../../shape/ShapeLayout.cpp" line="490"/>
        <source>A shape is drawn for one molecule or ion at a time, and the input has %1 parts.</source>
        <translation>Форма рисуется для одной молекулы или иона, а во вводе частей: %1.</translation>
    </message>
    <message>
        <location filename="../../shape/ShapeLayout.cpp" line="495"/>
        <source>A shape is drawn round one central atom that every other atom but hydrogens is bonded to, and this molecule has none; the shape round each centre of a larger molecule is not drawn.</source>
        <translation>Форма рисуется вокруг одного центрального атома, с которым связаны все остальные атомы, кроме водородов, а в этой молекуле такого нет; форма вокруг каждого центра большой молекулы не рисуется.</translation>
    </message>
    <message>
        <location filename="../../shape/ShapeLayout.cpp" line="502"/>
        <source>%1 has %2 electron domains round its centre; shapes of two to six are drawn.</source>
        <translation>У %1 вокруг центра %2 электронных облаков; рисуются формы с двумя–шестью.</translation>
    </message>
    <message>
        <location filename="../../shape/ShapeLayout.cpp" line="537"/>
        <source>.</source>
        <comment>the decimal separator of a bond angle</comment>
        <translation>,</translation>
    </message>
</context>
</TS>
