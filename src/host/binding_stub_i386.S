// The host import table and its binding stubs (i686 Windows).
// Each entry starts out holding the address of its own stub. A call that
// reaches a stub saves every register and the flags, has the entry
// resolved, restores them and jumps to the resolved function, so the call
// arrives with the caller's arguments untouched.

        .data
        .globl _g_hostImports
        .p2align 2
_g_hostImports:
        .irp i,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51
        .long HostBindingStub\i
        .endr

        .section .rdata,"dr"
        .globl _g_hostBindingStubs
        .p2align 2
_g_hostBindingStubs:
        .irp i,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51
        .long HostBindingStub\i
        .endr

        .text
        .irp i,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51
HostBindingStub\i:
        pushl $\i
        jmp HostBindingCommon
        .endr

// Stack on entry: the entry index, then the caller's return address.
HostBindingCommon:
        pushfl
        pushal
        pushl 36(%esp)
        call _ResolveHostEntryFromStub
        addl $4, %esp
        movl %eax, 36(%esp)             // the index's slot now holds the target
        popal
        popfl
        ret                             // to the target, as if called directly
