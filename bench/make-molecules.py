#!/usr/bin/python3
"""Writes molecules.txt: 1,000 molecules and ions of up to 20 heavy atoms, one
SMILES a line, for the molecule benchmark and its test. Run once from bench/;
the output is committed, so the list only changes when this file does."""

inorganic = """
O N C O=C=O N#N O=O C#N Cl ClCl OO F FF Br BrBr I II S P [SiH4] B FB(F)F
[NH4+] [OH3+] [OH-] [C-]#N [O-][N+](=O)[O-] [O-]S(=O)(=O)[O-] C(=O)([O-])[O-] [Cl-]
[Na+].[Cl-] [O-]P(=O)([O-])[O-] [O-]Cl(=O)(=O)=O O=S=O O=S(=O)=O [N-]=[N+]=[N-] O=N[O-]
N(=O)O O=[N+]([O-])O OS(=O)(=O)O OP(=O)(O)O OC(=O)O [C-]#[O+] [N]=O [CH3] [OH] [He] [Ne] [Ar]
[Li+] [Mg+2] [Ca+2] [K+] [F-] [Br-] [I-] [O-2] [S-2] [N-3] [Al+3] [SH-] [NH2-] [BH4-]
[B-](F)(F)(F)F [PH4+] F[Xe]F [K+].[Br-] [Mg+2].[Cl-].[Cl-] [Ca+2].[O-]C(=O)[O-] [NH4+].[Cl-]
[Na+].[OH-] [Na+].[Na+].[O-]S(=O)(=O)[O-] [K+].[O-][N+](=O)[O-] [Li+].[F-] [Ca+2].[F-].[F-]
[NH4+].[NH4+].[O-]S(=O)(=O)[O-] [Na+].[C-]#N [K+].[OH-] OCl O=C O=CO CO NN N=N C=O C(F)(F)(F)F
ClC(Cl)(Cl)Cl [Na+].[O-]Cl [Na+].[Na+].[O-]C(=O)[O-] [Al+3].[Cl-].[Cl-].[Cl-] O=C=S S=C=S NC(N)=O
C(=O)=O.O [Na+].[H-] [Li+].[H-] [H+] [H][H] [OH-].[Na+] N#CC#N O=C(O)C(=O)O [O-]O[O-] [O-][O-]
""".split()

# A straight chain of n carbons with the given extra atoms or groups at
# positions, as SMILES: "C" for each carbon, a branch after it.
def chain(n, at=None, bonds=None):
    at = at or {}
    bonds = bonds or {}
    parts = []
    for i in range(1, n + 1):
        parts.append(bonds.get(i, "") + "C" + "".join("(" + g + ")" for g in at.get(i, [])))
    return "".join(parts)

families = {}

families["alkanes"] = [chain(n) for n in range(1, 21)] + [
    chain(n, {k: ["C"]}) for n in range(3, 20) for k in range(2, n // 2 + 1)] + [
    chain(n, {k: ["C", "C"]}) for n in range(3, 19) for k in range(2, n // 2 + 1)] + [
    chain(n, {2: ["C"], k: ["C"]}) for n in range(5, 19) for k in range(3, n)]

families["alkenes"] = [chain(n, bonds={k: "="}) for n in range(2, 21) for k in range(2, n // 2 + 2)] + [
    chain(n, {2: ["C"]}, bonds={k: "="}) for n in range(4, 19) for k in range(3, n + 1)]

families["alkynes"] = [chain(n, bonds={k: "#"}) for n in range(2, 19) for k in range(2, n // 2 + 2)]

families["alcohols"] = [chain(n, {k: ["O"]}) for n in range(1, 20) for k in range(1, n // 2 + 2)] + [
    chain(n, {1: ["O"], n: ["O"]}) for n in range(2, 19)]

families["acids"] = [chain(n) + "C(=O)O" for n in range(0, 18)] + [
    "OC(=O)" + chain(n) + "C(=O)O" for n in range(0, 16)] + [
    chain(n) + "C(=O)[O-]" for n in range(0, 18)]

families["amines"] = [chain(n, {k: ["N"]}) for n in range(1, 20) for k in range(1, n // 2 + 2)] + [
    chain(n) + "N" + chain(m) for n in range(1, 10) for m in range(1, 10)] + [
    chain(n) + "[NH3+]" for n in range(1, 19)]

families["halides"] = [chain(n, {k: [x]}) for x in ("F", "Cl", "Br", "I")
                       for n in range(1, 19) for k in range(1, n // 2 + 2)] + [
    chain(n, {1: ["Cl", "Cl"]}) for n in range(1, 17)]

families["carbonyls"] = [chain(n) + "C=O" for n in range(0, 19)] + [
    chain(n) + "C(=O)" + chain(m) for n in range(1, 10) for m in range(1, 10)] + [
    chain(n) + "C(=O)O" + chain(m) for n in range(1, 9) for m in range(1, 9)] + [
    chain(n) + "C(N)=O" for n in range(0, 18)] + [chain(n) + "C#N" for n in range(0, 19)]

families["ethers"] = [chain(n) + "O" + chain(m) for n in range(1, 10) for m in range(1, 10)] + [
    chain(n) + "S" + chain(m) for n in range(1, 8) for m in range(1, 8)]

substituents = ["C", "O", "N", "F", "Cl", "Br", "I", "C(=O)O", "C=O", "C#N", "CC", "OC", "C(F)(F)F", "[N+](=O)[O-]"]
families["aromatics"] = ["c1ccccc1"] + ["c1ccc(cc1)" + s for s in substituents] + [
    "c1cc(ccc1" + a + ")" + b for a in substituents for b in substituents] + [
    "c1ccc2ccccc2c1", "c1ccncc1", "c1ccoc1", "c1ccsc1", "c1cc[nH]c1"]

def heavy_atoms(smiles):
    count, i = 0, 0
    while i < len(smiles):
        c = smiles[i]
        if c == "[":
            j = smiles.index("]", i)
            if not smiles[i + 1:j].lstrip("0123456789").startswith("H") or smiles[i + 1:j].startswith("He"):
                count += 1
            i = j + 1
            continue
        if c.isalpha() and c not in "H":
            if smiles[i:i + 2] in ("Cl", "Br"):
                i += 1
            count += 1
        i += 1
    return count

lines, seen = [], set()
def add(smiles):
    if smiles not in seen and heavy_atoms(smiles) <= 20:
        seen.add(smiles)
        lines.append(smiles)

for s in inorganic:
    add(s)
lists = [families[name] for name in families]
position = [0] * len(lists)
while len(lines) < 1000:
    grew = False
    for k, items in enumerate(lists):
        while position[k] < len(items) and len(lines) < 1000:
            before = len(lines)
            add(items[position[k]])
            position[k] += 1
            if len(lines) > before:
                grew = True
                break
    if not grew:
        raise SystemExit("not enough distinct molecules")

with open("molecules.txt", "w") as out:
    out.write("\n".join(lines[:1000]) + "\n")
print(len(lines[:1000]), "molecules,", max(heavy_atoms(s) for s in lines), "heavy atoms at most")
